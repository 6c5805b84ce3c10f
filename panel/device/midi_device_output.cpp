#include "panel/device/midi_device_output.h"

namespace {
bool SameName(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}
}  // namespace

bool MidiDeviceOutput::Open(const char* name) {
  Close();
  size_t length = 0;
  while (name[length] != '\0' && length + 1 < sizeof name_) {
    name_[length] = name[length];
    ++length;
  }
  name_[length] = '\0';
  fault_.End();

  const unsigned count = api_.DeviceCount();
  for (unsigned id = 0; id < count; ++id) {
    char found[MidiOutApi::kNameCapacity] = {};
    if (!api_.DeviceName(id, found) || !SameName(found, name_)) continue;
    const uint32_t result = api_.Open(id, &handle_);
    open_ = result == MidiOutApi::kNoError;
    if (!open_) fault_.Begin(OutputFault::Kind::DeviceNotOpened, name_, result);
    return open_;
  }
  fault_.Begin(OutputFault::Kind::DeviceMissing, name_);
  return false;
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
  if (result != MidiOutApi::kNoError) fault_.Begin(OutputFault::Kind::DeviceNotTaking, name_, result);
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
