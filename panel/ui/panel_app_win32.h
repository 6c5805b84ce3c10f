#pragma once
// The panel program from start to end: load the settings (and a file's named at start), run the
// panel or send the whole state without a window, save the settings.
#include <windows.h>

#include "panel/core/panel_settings.h"
#include "panel/core/registry_settings_store_win32.h"
#include "panel/device/port_io.h"
#include "panel/files/settings_file.h"
#include "panel/ui/program_outputs_win32.h"

// The program's exit codes.
constexpr int kExitDone = 0;
constexpr int kExitCardUnreachable = 1;  // without a window: the card could not be reached
constexpr int kExitBadStart = 2;         // an unknown switch, several files, or a file that cannot be used

class PanelApp {
 public:
  PanelApp(HINSTANCE instance, TickSource& clock) : instance_(instance), clock_(clock) {}

  // Loads the stored settings and the chosen way to the card. Comes first: the port they name is
  // where the program's way to the MIDI interface has to look.
  void LoadSettings();
  // Opens the chosen way to the card (after LoadSettings): the MIDI output device of the stored
  // name, or the card's ports through `io`. Messages go to its Chosen() until it ends.
  ProgramOutputs OpenChosenOutput(PortIo& io) { return ProgramOutputs(io, clock_, settings_.Port, outputName_); }
  // The base address of the MIDI interface: the low word of the stored `Port`.
  uint16_t PortBase() const { return static_cast<uint16_t>(settings_.Port); }
  // Takes the settings of a file named at start over the stored ones. False when the file cannot
  // be used: the stored settings stay, and the user is told (once the panel shows, or at Send).
  bool TakeStartFile(const char* path);
  // Runs the panel with `io` as the way to the interface (the real ports or the software model),
  // then saves the settings; returns the process's exit code.
  int Run(PortIo& io);
  // Sends the whole state without a window and saves the settings when a start file was taken.
  int Send(PortIo& io);

 private:
  HINSTANCE instance_;
  TickSource& clock_;
  RegistrySettingsStore store_;
  PanelSettings settings_;
  char outputName_[kOutputNameCapacity] = {};
  const char* startFile_ = nullptr;
  LoadResult startLoad_ = {LoadOutcome::Loaded, FileFault::None};
};

// Shows how to start the panel; returns kExitBadStart.
int ShowUsage(HINSTANCE resources);

// The common controls the panel uses (trackbar, up-down), on every system from the 98 class on.
void InitPanelControls();
