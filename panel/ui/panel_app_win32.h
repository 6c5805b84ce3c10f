#pragma once
// The panel program from start to end: the run of the panel with the program's settings store,
// files, controls and boxes, shown as the panel's window or restoring the card without one.
#include <windows.h>

#include "panel/core/registry_settings_store_win32.h"
#include "panel/device/port_io.h"
#include "panel/device/tick_source.h"
#include "panel/files/settings_file_win32.h"
#include "panel/ui/control_surface_win32.h"
#include "panel/ui/panel_notices_win32.h"
#include "panel/ui/panel_run.h"
#include "panel/ui/unseen_controls.h"

class PanelApp {
 public:
  // withWindow: the panel shows; otherwise it restores the card without a window. Reads the
  // stored settings at once: the port they name is where the program has to look.
  PanelApp(HINSTANCE instance, bool withWindow);

  // The base address of the MIDI interface: the low word of the stored port.
  uint16_t PortBase() const { return run_.PortBase(); }
  // Runs the panel with `io` as the way to the interface (the real ports or the software model)
  // and the file named at start (null: none), then saves the settings; the exit code. programName:
  // the program's own name, which marks its window as this program's running panel
  // (running_panel_win32.h) and names its entry that restores the card at every Windows start.
  int Run(PortIo& io, TickSource& clock, const char* startFile, const char* programName);
  // Restores the card without a window from the stored settings and `file` (null: none); the exit
  // code.
  int Send(PortIo& io, TickSource& clock, const char* file);

 private:
  HINSTANCE instance_;
  RegistrySettingsStore store_;
  SystemFileReader files_;
  Win32ControlSurface windowControls_;
  UnseenControls unseenControls_;
  BoxNotices notices_;
  PanelRun run_;
};

// The common controls the panel uses (trackbar, up-down), on every system from the 98 class on.
void InitPanelControls();
