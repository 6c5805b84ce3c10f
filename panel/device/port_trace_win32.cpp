#include "panel/device/port_trace_win32.h"

#include <windows.h>

PortTraceWin32::~PortTraceWin32() { Close(); }

bool PortTraceWin32::Open(const char* path) {
  Close();
  // Others may read (and follow) the file while the panel writes it.
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  file_ = file;
  return true;
}

void PortTraceWin32::Close() {
  if (file_ == nullptr) return;
  CloseHandle(static_cast<HANDLE>(file_));
  file_ = nullptr;
}

void PortTraceWin32::OnPortEvent(const PortEvent& event) {
  if (file_ == nullptr) return;
  char line[kNotedTraceLineCapacity];
  // The note is part of its event's line and goes out in the same write.
  DWORD length = static_cast<DWORD>(lines_.Line(event, line));
  DWORD written = 0;
  WriteFile(static_cast<HANDLE>(file_), line, length, &written, nullptr);
}
