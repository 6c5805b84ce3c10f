#pragma once
// A MIDI output device of the system as the way to the card: opened as the list of outputs offers
// it, kept open, each message sent as one system-exclusive buffer and waited for, one at a time
// and in order.
//
// The wait is bounded by the message's time on the wire (0.32 ms a byte at 31,250 baud) and a
// second more. A device that refuses a message or is not done with it in time is reset (which
// hands back the buffer), and nothing more is sent to it until a device is opened again. A buffer
// that still cannot be unprepared may yet be read by the driver: it is never freed or used again,
// not even when another device is opened later; that device gets a buffer of its own.
#include "panel/device/card_output.h"
#include "panel/device/midi_out_api.h"
#include "panel/device/output_list.h"
#include "panel/device/tick_source.h"

namespace midi_out {
constexpr uint32_t kWaitBaseMs = 1000;
// Wire time of n bytes, rounded up: 0.32 ms a byte.
constexpr uint32_t WireTimeMs(size_t n) { return static_cast<uint32_t>((n * 32 + 99) / 100); }
}  // namespace midi_out

class MidiDeviceOutput : public CardOutput {
 public:
  MidiDeviceOutput(MidiOutApi& api, TickSource& clock) : api_(api), clock_(clock) {}
  ~MidiDeviceOutput() { Close(); }
  MidiDeviceOutput(const MidiDeviceOutput&) = delete;
  MidiDeviceOutput& operator=(const MidiDeviceOutput&) = delete;

  // Lets the device it had go, then opens the device chosen from the list of outputs. False when
  // the choice names no device (kind Missing) or the device cannot be opened: that is the new
  // fault, and nothing is sent until the next Open.
  bool Open(const OutputChoice& device);
  // Lets the device go: its buffer is freed, unless the driver may still read it.
  void Close();

  void Send(const uint8_t* message, size_t n) override;
  // Every note off on the device.
  void Panic() override;
  FaultToTell& Faults() override { return fault_; }
  // The name last asked for, open or not.
  const char* DeviceName() const { return chosen_.name; }
  // The system's devices, for the list of outputs.
  MidiOutApi& Devices() { return api_; }

 private:
  // Hands the message to the driver and waits until it is done or the wait has run out; the
  // system's result code, or kStillPlaying when the driver kept the buffer.
  uint32_t Transmit(const uint8_t* message, size_t n);
  bool AwaitDone(size_t n);

  MidiOutApi& api_;
  TickSource& clock_;
  MidiOutApi::Handle handle_ = nullptr;
  bool open_ = false;
  MidiOutApi::Buffer buffer_ = nullptr;
  OutputChoice chosen_ = {};
  FaultToTell fault_;
};
