#pragma once
// Every way to the card a panel program has, wired once: the card's MPU-401 ports (through the
// program's port access) and the system's MIDI output devices, with one of them chosen. The
// message builders send through Chosen() for as long as this lives; the device is let go at its
// end.
#include "panel/device/chosen_output.h"
#include "panel/device/midi_device_output.h"
#include "panel/device/card_ports_output.h"
#include "panel/device/mpu_port.h"
#include "panel/device/winmm_midi_out_win32.h"

class ProgramOutputs {
 public:
  // Opens the chosen output at once: the device called deviceName, or the card at `port` when
  // the name is empty (its ports are touched only when a message goes there).
  ProgramOutputs(PortIo& io, TickSource& clock, uint32_t port, const char* deviceName);
  ProgramOutputs(const ProgramOutputs&) = delete;
  ProgramOutputs& operator=(const ProgramOutputs&) = delete;

  ChosenOutput& Chosen() { return chosen_; }

 private:
  MpuPort mpu_;
  CardPortsOutput ports_;
  WinmmMidiOut devices_;
  MidiDeviceOutput device_;
  ChosenOutput chosen_;
};
