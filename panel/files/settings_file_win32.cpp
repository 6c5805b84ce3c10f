#include "panel/files/settings_file_win32.h"

#include <windows.h>

namespace {

LoadOutcome ReadOpenFile(HANDLE file, FileBytes* bytes) {
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return LoadOutcome::CannotRead;
  if (high != 0 || size > kLargestSettingsFile) return LoadOutcome::TooLarge;
  // One byte more than the file: an empty file still gets its pages.
  auto* data = static_cast<uint8_t*>(VirtualAlloc(nullptr, size + 1, MEM_COMMIT, PAGE_READWRITE));
  if (data == nullptr) return LoadOutcome::CannotRead;
  DWORD read = 0;
  if (!ReadFile(file, data, size, &read, nullptr) || read != size) {
    VirtualFree(data, 0, MEM_RELEASE);
    return LoadOutcome::CannotRead;
  }
  *bytes = {data, size};
  return LoadOutcome::Loaded;
}

}  // namespace

LoadOutcome SystemFileReader::Read(const char* path, FileBytes* bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LoadOutcome::CannotRead;
  const LoadOutcome outcome = ReadOpenFile(file, bytes);
  CloseHandle(file);
  return outcome;
}

void SystemFileReader::Release(const FileBytes& bytes) {
  VirtualFree(const_cast<uint8_t*>(bytes.data), 0, MEM_RELEASE);
}
