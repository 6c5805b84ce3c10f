#pragma once
// The system's MIDI output devices through winmm's midiOut functions (the A forms, all in Windows
// 95's winmm.dll). Devices are opened without a callback; a buffer is one page of the system's
// memory with the message header at its start.
#include "panel/device/midi_out_api.h"

class WinmmMidiOut : public MidiOutApi {
 public:
  unsigned DeviceCount() override;
  bool DeviceName(unsigned id, char* name) override;
  uint32_t Open(unsigned id, Handle* handle) override;
  uint32_t Close(Handle handle) override;
  uint32_t Reset(Handle handle) override;
  Buffer NewBuffer() override;
  void FreeBuffer(Buffer buffer) override;
  uint32_t Prepare(Handle handle, Buffer buffer, const uint8_t* message, size_t n) override;
  uint32_t Send(Handle handle, Buffer buffer) override;
  bool Done(Buffer buffer) override;
  uint32_t Unprepare(Handle handle, Buffer buffer) override;
};

// The system's own words for a midiOut result code, into text (capacity characters).
void MidiOutErrorText(uint32_t code, char* text, unsigned capacity);
