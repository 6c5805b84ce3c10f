// The panel program, started as the panel (with or without a settings file) or with /send to
// restore the card without a window (command_line.h); while its panel runs, a start hands the
// request to that panel instead (running_panel.h). One source builds two programs: Tambrel drives
// the card's ports (directly, or through a port-driver library where the system wants one);
// TambrelSim (TAMBREL_SIMULATED_PORT) drives the software interface, loads no library and writes
// every port event to mpu401-trace.txt in its current directory, each message noted with what it
// means. Either sends to a MIDI output device of the system instead when the user chose one.
#include <windows.h>

#include "panel/device/tick_source_win32.h"
#include "panel/ui/command_line.h"
#include "panel/ui/panel_app_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/running_panel_win32.h"

#ifdef TAMBREL_SIMULATED_PORT
#include "panel/core/message_meaning.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace_win32.h"
#else
#include "panel/device/port_driver_io_win32.h"
#endif

// The program's own name, which tells its things from the other program's: the mark on its panel
// window (one panel per program) and the value that restores the card at every Windows start.
#ifdef TAMBREL_SIMULATED_PORT
constexpr char kProgramName[] = "TambrelSim";
#else
constexpr char kProgramName[] = "Tambrel";
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const PanelStart start = ReadCommandLine(GetCommandLineA());
  RunningPanelWin32 running(kProgramName);
  const StartOutcome outcome = StartBesideRunningPanel(start, running);
  if (outcome.kind == StartOutcome::Kind::Usage) ShowUsage(instance);
  if (outcome.kind == StartOutcome::Kind::NoAnswer) {
    ShowProgramBox(nullptr, instance, IDS_PANEL_NOT_ANSWERING, nullptr, MB_OK | MB_ICONEXCLAMATION);
  }
  if (outcome.kind != StartOutcome::Kind::OpenHere) return outcome.exitCode;
  const bool send = start.mode == PanelStart::Mode::Send;
  const char* file = start.file[0] != '\0' ? start.file : nullptr;
  TickSourceWin32 clock;
  PanelApp app(instance, !send);
#ifdef TAMBREL_SIMULATED_PORT
  // The model answers where the panel will look.
  const uint16_t base = app.PortBase();
  Mpu401Model io(base);
  MessageMeaning meaning;
  PortTraceWin32 trace;
  trace.Describe(base, &meaning);
  trace.Open();
  io.SetObserver(&trace);
#else
  PortDriverIoWin32 io;
#endif
  return send ? app.Send(io, clock, file) : app.Run(io, clock, file, kProgramName);
}
