#include "panel/device/port_driver_io_win32.h"

#include <windows.h>

#include "runtime/program_path_win32.h"
#include "runtime/system_family_win32.h"

namespace {
constexpr unsigned kWordBits = sizeof(void*) * 8;

// The libraries' own declarations; all are __stdcall (WINAPI) in the 32-bit libraries. A USHORT
// and a ULONG port each take one stack slot there, so one pointer type serves both.
using Inp32Function = short(WINAPI*)(short port);
using Out32Function = void(WINAPI*)(short port, short value);
using ReadUcharFunction = UCHAR(WINAPI*)(ULONG port);
using WriteUcharFunction = void(WINAPI*)(ULONG port, UCHAR value);
using DriverOpenFunction = BOOL(WINAPI*)();

constexpr uint8_t kNothingRead = 0xFF;  // what a read of an unreachable port gives

class SystemLibraryLoader : public LibraryLoader {
 public:
  void* Load(const char* path) override { return LoadLibraryA(path); }
  Function Find(void* library, const char* name) override {
    return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(library), name));
  }
  void Free(void* library) override { FreeLibrary(static_cast<HMODULE>(library)); }
};
}  // namespace

PortDriverIoWin32::PortDriverIoWin32() : family_(CurrentSystemFamily()) {}

void PortDriverIoWin32::FindRoute() {
  route_ = Route::Direct;
  if (family_ == SystemFamily::Windows9x) return;
  // Only full paths: the folder of this program (from its own full name) and the system folder.
  char programFolder[kLibraryPathCapacity];
  ProgramFolder(programFolder, sizeof programFolder);
  char systemFolder[kLibraryPathCapacity] = "";
  UINT systemLength = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  if (systemLength == 0 || systemLength >= sizeof systemFolder) systemFolder[0] = '\0';

  SystemLibraryLoader loader;
  if (!FindPortDriver(family_, kWordBits, programFolder, systemFolder, loader, driver_)) return;
  // Asked before any port access: without its driver InpOut reads 0, which a status register
  // would mean as "ready", and its writes go nowhere.
  auto driverOpen = reinterpret_cast<DriverOpenFunction>(driver_.driverOpen);
  route_ = driverOpen != nullptr && !driverOpen() ? Route::NotRunning : Route::Library;
}

PortDriverIoWin32::~PortDriverIoWin32() {
  if (driver_.library != nullptr) FreeLibrary(static_cast<HMODULE>(driver_.library));
}

uint8_t PortDriverIoWin32::ReadByte(uint16_t port) {
  if (route_ == Route::Unknown) FindRoute();
  switch (route_) {
    case Route::Unknown:
    case Route::Direct:
      return direct_.ReadByte(port);
    case Route::NotRunning:
      return kNothingRead;
    case Route::Library:
      break;
  }
  if (driver_.api == PortDriverApi::DlPortIo) {
    return reinterpret_cast<ReadUcharFunction>(driver_.read)(port);
  }
  // Another library of the same name returns a BYTE in the same register: only the low 8 bits
  // are the port's.
  return static_cast<uint8_t>(reinterpret_cast<Inp32Function>(driver_.read)(static_cast<short>(port)) & 0xFF);
}

void PortDriverIoWin32::WriteByte(uint16_t port, uint8_t value) {
  if (route_ == Route::Unknown) FindRoute();
  switch (route_) {
    case Route::Unknown:
    case Route::Direct:
      direct_.WriteByte(port, value);
      return;
    case Route::NotRunning:
      return;
    case Route::Library:
      break;
  }
  if (driver_.api == PortDriverApi::DlPortIo) {
    reinterpret_cast<WriteUcharFunction>(driver_.write)(port, value);
  } else {
    reinterpret_cast<Out32Function>(driver_.write)(static_cast<short>(port), value);
  }
}

void PortDriverIoWin32::DisableInterrupts() {
  if (route_ == Route::Direct) direct_.DisableInterrupts();
}

void PortDriverIoWin32::EnableInterrupts() {
  if (route_ == Route::Direct) direct_.EnableInterrupts();
}

bool PortDriverIoWin32::Refused() const {
  switch (route_) {
    case Route::Unknown:
      return false;
    case Route::Direct:
      return direct_.Refused();
    case Route::NotRunning:
      return true;
    case Route::Library:
      break;
  }
  return false;
}

PortIo::Refusal PortDriverIoWin32::WhyRefused() const {
  if (route_ == Route::NotRunning) return Refusal::PortDriverNotRunning;
  return family_ == SystemFamily::WindowsNt ? Refusal::NoPortDriver : Refusal::System;
}
