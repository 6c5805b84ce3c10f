#include "uninstall/uninstall_platform_win32.h"

#include "runtime/system_family_win32.h"
#include "uninstall/rename_section.h"

static HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void Win32UninstallPlatform::DeleteKey(RegistryRoot root, const char* path) {
  RegDeleteKeyA(RootKey(root), path);
}

UninstallPlatform::Key Win32UninstallPlatform::OpenKey(RegistryRoot root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKey(root), path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

bool Win32UninstallPlatform::QueryValue(Key key, const char* name, char* buffer, uint32_t size) {
  DWORD type = 0;
  DWORD length = size;
  return RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &type,
                          reinterpret_cast<BYTE*>(buffer), &length) == ERROR_SUCCESS;
}

void Win32UninstallPlatform::CloseKey(Key key) { RegCloseKey(static_cast<HKEY>(key)); }

uint32_t Win32UninstallPlatform::CurrentDirectory(char* buffer, uint32_t size) {
  return GetCurrentDirectoryA(size, buffer);
}

FileDeletion Win32UninstallPlatform::DeleteFileReporting(const char* path) {
  if (DeleteFileA(path)) return {true, 0};
  return {false, GetLastError()};
}

int32_t Win32UninstallPlatform::InitializeCom() { return CoInitialize(nullptr); }

void Win32UninstallPlatform::UninitializeCom() { CoUninitialize(); }

bool Win32UninstallPlatform::AcquireShellAllocator() {
  return SHGetMalloc(&allocator_) >= 0 && allocator_ != nullptr;
}

void Win32UninstallPlatform::ReleaseShellAllocator() {
  allocator_->Release();
  allocator_ = nullptr;
}

bool Win32UninstallPlatform::LocateDesktopFolder() {
  return SHGetSpecialFolderLocation(owner_, CSIDL_DESKTOPDIRECTORY, &desktop_) == 0;
}

void Win32UninstallPlatform::ReadDesktopFolderPath(char* path) {
  if (!SHGetPathFromIDListA(desktop_, path)) path[0] = '\0';
  path[kPathCapacity - 1] = '\0';
  allocator_->Free(desktop_);
  desktop_ = nullptr;
}

char* Win32UninstallPlatform::AllocateSectionBuffer() {
  return static_cast<char*>(VirtualAlloc(nullptr, kSectionCapacity, MEM_COMMIT, PAGE_READWRITE));
}

void Win32UninstallPlatform::FreeSectionBuffer(char* buffer) {
  VirtualFree(buffer, 0, MEM_DECOMMIT);
}

uint32_t Win32UninstallPlatform::WindowsDirectory(char* buffer, uint32_t size) {
  return GetWindowsDirectoryA(buffer, size);
}

uint32_t Win32UninstallPlatform::ReadProfileSection(const char* section, char* buffer,
                                                    uint32_t size, const char* file) {
  return GetPrivateProfileSectionA(section, buffer, size, file);
}

bool Win32UninstallPlatform::WriteProfileSection(const char* section, const char* lines,
                                                 const char* file) {
  return WritePrivateProfileSectionA(section, lines, file) != 0;
}

bool Win32UninstallPlatform::IsNtFamily() { return CurrentSystemFamily() == SystemFamily::WindowsNt; }

bool Win32UninstallPlatform::ScheduleDeletionAtBoot(const char* path) {
  return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

void Win32UninstallPlatform::ShowMessage(const char* text, const char* caption) {
  MessageBoxA(owner_, text, caption, MB_OK);
}
