#pragma once
// The panel program from start to end: load the settings, run the panel, save the settings.
#include <windows.h>

#include "panel/core/panel_settings.h"
#include "panel/core/registry_settings_store_win32.h"
#include "panel/device/port_io.h"
#include "panel/ui/card_outputs_win32.h"

class PanelApp {
 public:
  PanelApp(HINSTANCE instance, TickSource& clock) : instance_(instance), clock_(clock) {}

  // Loads the stored settings and the chosen way to the card. Comes first: the port they name is
  // where the program's way to the MIDI interface has to look.
  void LoadSettings();
  // Opens the chosen way to the card (after LoadSettings): the MIDI output device of the stored
  // name, or the card's ports through `io`. Messages go to its Chosen() until it ends.
  CardOutputs OpenChosenOutput(PortIo& io) { return CardOutputs(io, clock_, settings_.Port, outputName_); }
  // The base address of the MIDI interface: the low word of the stored `Port`.
  uint16_t PortBase() const { return static_cast<uint16_t>(settings_.Port); }
  // Runs the panel with `io` as the way to the interface (the real ports or the software model),
  // then saves the settings; returns the process's exit code.
  int Run(PortIo& io);

 private:
  HINSTANCE instance_;
  TickSource& clock_;
  RegistrySettingsStore store_;
  PanelSettings settings_;
  char outputName_[kOutputNameCapacity] = {};
};

// The common controls the panel uses (trackbar, up-down), on every system from the 98 class on.
void InitPanelControls();
