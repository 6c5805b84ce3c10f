// A stand-in for a port-driver library, for the tests only (never shipped): the exports of InpOut
// (built as inpout32.dll and inpoutx64.dll) or of DlPortIO (dlportio.dll, PORT_DRIVER_DLPORTIO),
// undecorated __stdcall as theirs, with the software MPU-401 behind them at the panel's stored
// port. Every port event goes to mpu401-trace.txt in the current folder, as TambrelSim writes it.
//
// For the scenarios:
// - A file named "driver-not-open" beside the library makes it a library whose driver is not
//   running: IsInpOutDriverOpen says FALSE and Inp32 reads 0, as InpOut's do. Every access that
//   still comes is traced all the same (there is no card to answer it).
// - Each time the library is loaded it adds its full path to port-driver-loads.txt in the
//   current folder: which file was loaded, from where.
#include <windows.h>

#include "panel/core/message_meaning.h"
#include "panel/core/panel_settings.h"
#include "panel/core/registry_settings_store_win32.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/port_driver_search.h"
#include "panel/device/port_trace_win32.h"
#include "runtime/program_path.h"

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {
constexpr char kNotOpenSwitch[] = "driver-not-open";
constexpr char kLoadsFile[] = "port-driver-loads.txt";

bool g_driverOpen = true;

void AppendLine(const char* file, const char* text) {
  HANDLE handle = CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(handle, text, lstrlenA(text), &written, nullptr);
  WriteFile(handle, "\r\n", 2, &written, nullptr);
  CloseHandle(handle);
}

void Loaded(HINSTANCE module) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  AppendLine(kLoadsFile, path);
  char folder[MAX_PATH];
  char switchPath[MAX_PATH];
  if (FolderOfProgram(path, folder, sizeof folder) && LibraryPath(folder, kNotOpenSwitch, switchPath, sizeof switchPath)) {
    g_driverOpen = GetFileAttributesA(switchPath) == INVALID_FILE_ATTRIBUTES;
  }
}

// The card and its trace come to life with the first port access, at the port the panel reads
// from the registry too.
struct Card {
  Card() : model(StoredBase()) {
    trace.Describe(model.Base(), &meaning);
    trace.Open();
    model.SetObserver(&trace);
  }
  static uint16_t StoredBase() {
    PanelSettings settings;
    RegistrySettingsStore store;
    LoadSettings(settings, store);
    return static_cast<uint16_t>(settings.Port);
  }
  Mpu401Model model;
  MessageMeaning meaning;
  PortTraceWin32 trace;
};

Card& TheCard() {
  static Card card;
  return card;
}

uint8_t Read(uint16_t port) {
  Card& card = TheCard();
  if (g_driverOpen) return card.model.ReadByte(port);
  card.trace.OnPortEvent({PortEvent::Kind::Read, 0, port});
  return 0;
}

void Write(uint16_t port, uint8_t value) {
  Card& card = TheCard();
  if (g_driverOpen) {
    card.model.WriteByte(port, value);
  } else {
    card.trace.OnPortEvent({PortEvent::Kind::Write, value, port});
  }
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Loaded(module);
  return TRUE;
}

#ifndef PORT_DRIVER_DLPORTIO
STANDIN_EXPORT BOOL WINAPI IsInpOutDriverOpen() { return g_driverOpen ? TRUE : FALSE; }

// The upper half is not the port's: another library of this name returns a BYTE and leaves it
// undefined, and a caller must not rely on it.
STANDIN_EXPORT short WINAPI Inp32(short port) {
  return static_cast<short>(0x5A00 | Read(static_cast<uint16_t>(port)));
}

STANDIN_EXPORT void WINAPI Out32(short port, short data) {
  Write(static_cast<uint16_t>(port), static_cast<uint8_t>(data));
}
#endif

STANDIN_EXPORT UCHAR WINAPI DlPortReadPortUchar(ULONG port) { return Read(static_cast<uint16_t>(port)); }

STANDIN_EXPORT void WINAPI DlPortWritePortUchar(ULONG port, UCHAR value) {
  Write(static_cast<uint16_t>(port), value);
}
