#pragma once
// Every way to the card a panel program has, wired once: the card's MPU-401 ports (through the
// program's port access) and the system's MIDI output devices, with one of them chosen. The
// message builders send through Chosen() for as long as this lives; the device is let go at its
// end.
#include "panel/device/chosen_output.h"
#include "panel/device/device_output.h"
#include "panel/device/live_message_sink.h"
#include "panel/device/mpu_port.h"
#include "panel/device/winmm_midi_out_win32.h"

class CardOutputs {
 public:
  // Opens the chosen output at once: the device called deviceName, or the card at `port` when
  // the name is empty (its ports are touched only when a message goes there).
  CardOutputs(PortIo& io, TickSource& clock, uint32_t port, const char* deviceName);
  CardOutputs(const CardOutputs&) = delete;
  CardOutputs& operator=(const CardOutputs&) = delete;

  ChosenOutput& Chosen() { return chosen_; }
  // The system's MIDI output devices, for offering them as choices.
  MidiOutApi& Devices() { return devices_; }

 private:
  MpuPort mpu_;
  LiveMessageSink ports_;
  WinmmMidiOut devices_;
  DeviceOutput device_;
  ChosenOutput chosen_;
};
