#pragma once
// The way to the card that the user chose: the card's ports, or a MIDI output device by its name.
// The message builders hold this one sink for the panel's whole run; a new choice changes where
// it leads, not the sink.
#include "panel/device/card_output.h"
#include "panel/device/card_ports_output.h"
#include "panel/device/midi_device_output.h"
#include "panel/device/output_list.h"

class ChosenOutput : public CardOutput {
 public:
  ChosenOutput(CardPortsOutput& ports, MidiDeviceOutput& device) : ports_(ports), device_(device), current_(&ports) {}

  // What there is to choose from: the card at its port, then the system's MIDI output devices.
  OutputList Offered() { return OutputList(ports_.Port(), device_.Devices()); }
  // Chooses from Offered() by name: an empty name chooses the card's ports, any other the device of
  // that name. The device chosen before is let go either way, and its unreported fault with it.
  void Choose(const char* deviceName);

  void Send(const uint8_t* message, size_t n) override { current_->Send(message, n); }
  void Panic() override { current_->Panic(); }
  FaultToTell& Faults() override { return current_->Faults(); }
  // The chosen device's name, empty for the card's ports.
  const char* DeviceName() const { return current_ == &ports_ ? "" : device_.DeviceName(); }

 private:
  CardPortsOutput& ports_;
  MidiDeviceOutput& device_;
  CardOutput* current_;
};
