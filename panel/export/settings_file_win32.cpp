#include "panel/export/settings_file_win32.h"

bool Win32SettingsFileSource::Open(const char* path) {
  Close();
  handle_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32SettingsFileSource::Size(uint32_t* size) {
  DWORD high = 0;
  const DWORD low = GetFileSize(handle_, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  // A file of 4 GiB or more is just as much too large as one of kLargestSettingsFile.
  *size = high != 0 ? 0xFFFFFFFFu : low;
  return true;
}

bool Win32SettingsFileSource::ReadAll(uint8_t* buffer, uint32_t size) {
  uint32_t done = 0;
  while (done < size) {
    DWORD count = 0;
    if (!ReadFile(handle_, buffer + done, size - done, &count, nullptr) || count == 0) return false;
    done += count;
  }
  return true;
}

void Win32SettingsFileSource::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}
