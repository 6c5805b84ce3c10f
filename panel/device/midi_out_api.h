#pragma once
// What the system's multimedia library offers a program for a MIDI output device (winmm's
// midiOut functions), reduced to what the panel uses: the devices by id and name, one open device
// and one message buffer at a time, and a way to wait for the driver.
#include <cstddef>
#include <cstdint>

class MidiOutApi {
 public:
  using Handle = void*;  // an open device
  using Buffer = void*;  // a message header with room for one message, in the system's memory

  // The system's result codes that the panel tells apart (MMSYSERR_*, MIDIERR_*).
  static constexpr uint32_t kNoError = 0;
  static constexpr uint32_t kAllocated = 4;      // another program holds the device
  static constexpr uint32_t kStillPlaying = 65;  // the driver still has the buffer

  // A device name as the system reports it: at most 31 characters and the terminating zero.
  static constexpr size_t kNameCapacity = 32;
  // The longest message one buffer holds.
  static constexpr size_t kMessageCapacity = 3968;

  // Not virtual, as MessageSink's: nothing deletes a library through this interface.
  ~MidiOutApi() = default;

  // The devices in id order, 0..DeviceCount()-1; never the MIDI Mapper.
  virtual unsigned DeviceCount() = 0;
  // The name of device `id` into name (kNameCapacity characters); false when it does not answer.
  virtual bool DeviceName(unsigned id, char* name) = 0;
  virtual uint32_t Open(unsigned id, Handle* handle) = 0;
  virtual uint32_t Close(Handle handle) = 0;
  // "Every note off": also hands back every buffer the driver holds, marked done.
  virtual uint32_t Reset(Handle handle) = 0;

  // Null when the system has no memory for one.
  virtual Buffer NewBuffer() = 0;
  virtual void FreeBuffer(Buffer buffer) = 0;
  // Copies the message (at most kMessageCapacity bytes) into the buffer, clears the header's
  // flags and prepares the header.
  virtual uint32_t Prepare(Handle handle, Buffer buffer, const uint8_t* message, size_t n) = 0;
  // Hands the prepared buffer to the driver (a system-exclusive message).
  virtual uint32_t Send(Handle handle, Buffer buffer) = 0;
  // True when the driver is done with the buffer (done, and no longer queued); otherwise gives the
  // driver a moment and returns false.
  virtual bool Done(Buffer buffer) = 0;
  virtual uint32_t Unprepare(Handle handle, Buffer buffer) = 0;
};
