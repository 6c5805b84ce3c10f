#include "panel/device/midi_device_output.h"

bool MidiDeviceOutput::Open(const OutputChoice& device) {
  Close();
  chosen_ = device;
  fault_.End();
  if (device.kind != OutputChoice::Kind::Device) {
    fault_.Begin(OutputFault::Kind::DeviceMissing, chosen_.name);
    return false;
  }
  const uint32_t result = api_.Open(device.deviceId, &handle_);
  open_ = result == MidiOutApi::kNoError;
  if (!open_) fault_.Begin(OutputFault::Kind::DeviceNotOpened, chosen_.name, result);
  return open_;
}

void MidiDeviceOutput::Close() {
  if (buffer_ != nullptr) api_.FreeBuffer(buffer_);
  buffer_ = nullptr;
  // A device whose buffer was left to the driver refuses to close; its handle is let go anyway.
  if (open_) api_.Close(handle_);
  open_ = false;
  handle_ = nullptr;
}

void MidiDeviceOutput::Send(const uint8_t* message, size_t n) {
  if (!open_ || fault_.Lasts()) return;
  const uint32_t result = Transmit(message, n);
  if (result != MidiOutApi::kNoError) fault_.Begin(OutputFault::Kind::DeviceNotTaking, chosen_.name, result);
}

uint32_t MidiDeviceOutput::Transmit(const uint8_t* message, size_t n) {
  if (buffer_ == nullptr) buffer_ = api_.NewBuffer();
  if (buffer_ == nullptr || n > MidiOutApi::kMessageCapacity) return MidiOutApi::kStillPlaying;
  uint32_t result = api_.Prepare(handle_, buffer_, message, n);
  if (result != MidiOutApi::kNoError) return result;
  result = api_.Send(handle_, buffer_);
  if (result == MidiOutApi::kNoError && !AwaitDone(n)) {
    // Reset hands the buffer back; only then may it be unprepared.
    api_.Reset(handle_);
    result = MidiOutApi::kStillPlaying;
  }
  if (api_.Unprepare(handle_, buffer_) != MidiOutApi::kNoError) {
    buffer_ = nullptr;  // the driver may still read it: never freed, never used again
    result = MidiOutApi::kStillPlaying;
  }
  return result;
}

bool MidiDeviceOutput::AwaitDone(size_t n) {
  const uint32_t limit = midi_out::kWaitBaseMs + midi_out::WireTimeMs(n);
  const uint32_t start = clock_.Milliseconds();
  while (!api_.Done(buffer_)) {
    if (clock_.Milliseconds() - start > limit) return false;
  }
  return true;
}

void MidiDeviceOutput::Panic() {
  if (open_) api_.Reset(handle_);
}
