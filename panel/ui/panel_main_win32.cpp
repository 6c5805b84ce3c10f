// The panel program. One source builds two programs: Tambrel drives the card's ports (directly, or
// through a port-driver library where the system wants one); TambrelSim (TAMBREL_SIMULATED_PORT)
// drives the software interface, loads no library and writes every port event to
// mpu401-trace.txt in its current directory, each message noted with what it means.
#include <windows.h>

#include "panel/device/tick_source_win32.h"
#include "panel/ui/panel_app_win32.h"

#ifdef TAMBREL_SIMULATED_PORT
#include "panel/core/message_meaning.h"
#include "panel/core/registry_settings_store_win32.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace_win32.h"

namespace {
// The model answers where the panel will look: at the low word of the stored port. The panel
// loads its settings again itself; reading them twice changes nothing.
uint16_t StoredBase() {
  PanelSettings settings;
  RegistrySettingsStore store;
  LoadSettings(settings, store);
  return static_cast<uint16_t>(settings.Port);
}
}  // namespace
#else
#include "panel/device/port_driver_io_win32.h"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  TickSourceWin32 clock;
#ifdef TAMBREL_SIMULATED_PORT
  const uint16_t base = StoredBase();
  Mpu401Model io(base);
  MessageMeaning meaning;
  PortTraceWin32 trace;
  trace.Describe(base, &meaning);
  trace.Open();
  io.SetObserver(&trace);
#else
  PortDriverIoWin32 io;
#endif
  PanelApp app(instance, io, clock);
  return app.Run();
}
