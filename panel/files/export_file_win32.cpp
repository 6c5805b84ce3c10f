#include "panel/files/export_file_win32.h"

bool Win32ExportFile::Create(const char* path) {
  Close();
  handle_ = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32ExportFile::Write(const uint8_t* data, uint32_t size, uint32_t* written) {
  DWORD count = 0;
  const BOOL ok = WriteFile(handle_, data, size, &count, nullptr);
  *written = count;
  return ok != FALSE;
}

void Win32ExportFile::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void Win32ExportFile::Delete(const char* path) { DeleteFileA(path); }
