#pragma once
// The panel program from start to end: load the settings, run the panel, save the settings.
#include <windows.h>

#include "panel/core/panel_settings.h"
#include "panel/device/port_io.h"

class PanelApp {
 public:
  // io: how the program reaches the MIDI interface (the real ports or the software model).
  PanelApp(HINSTANCE instance, PortIo& io, TickSource& clock) : instance_(instance), io_(io), clock_(clock) {}

  // The whole run; returns the process's exit code.
  int Run();

  PanelSettings& Settings() { return settings_; }

 private:
  HINSTANCE instance_;
  PortIo& io_;
  TickSource& clock_;
  PanelSettings settings_;
};

// The common controls the panel uses (trackbar, up-down), on every system from the 98 class on.
void InitPanelControls();
