#include "panel/files/settings_file_win32.h"

#include <windows.h>

namespace {

LoadResult ReadOpenFile(HANDLE file, const PanelSettings& current, PanelSettings* loaded) {
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return {LoadOutcome::CannotRead, FileFault::None};
  if (high != 0 || size > kLargestSettingsFile) return {LoadOutcome::TooLarge, FileFault::None};
  // One byte more than the file: an empty file still gets its pages.
  auto* data = static_cast<uint8_t*>(VirtualAlloc(nullptr, size + 1, MEM_COMMIT, PAGE_READWRITE));
  if (data == nullptr) return {LoadOutcome::CannotRead, FileFault::None};
  DWORD read = 0;
  const LoadResult result = ReadFile(file, data, size, &read, nullptr) && read == size
                                ? TakeSettingsFromFile(data, size, current, loaded)
                                : LoadResult{LoadOutcome::CannotRead, FileFault::None};
  VirtualFree(data, 0, MEM_RELEASE);
  return result;
}

}  // namespace

LoadResult LoadSettingsFile(const char* path, const PanelSettings& current, PanelSettings* loaded) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {LoadOutcome::CannotRead, FileFault::None};
  const LoadResult result = ReadOpenFile(file, current, loaded);
  CloseHandle(file);
  return result;
}
