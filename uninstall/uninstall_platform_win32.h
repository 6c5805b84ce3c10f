#pragma once
// The uninstall sequence's system calls on Win32: registry, files, COM and the shell's desktop
// folder, the boot-time rename file, and message boxes owned by the dialog.
#include <windows.h>
#include <shlobj.h>

#include "uninstall/folder_environment_win32.h"
#include "uninstall/uninstall_platform.h"

class Win32UninstallPlatform final : public UninstallPlatform {
 public:
  explicit Win32UninstallPlatform(HWND owner) : owner_(owner) {}

  void DeleteKey(RegistryRoot root, const char* path) override;
  Key OpenKey(RegistryRoot root, const char* path) override;
  bool QueryValue(Key key, const char* name, char* buffer, uint32_t size) override;
  void CloseKey(Key key) override;
  uint32_t CurrentDirectory(char* buffer, uint32_t size) override;
  FileDeletion DeleteFileReporting(const char* path) override;
  int32_t InitializeCom() override;
  void UninitializeCom() override;
  bool AcquireShellAllocator() override;
  void ReleaseShellAllocator() override;
  bool LocateDesktopFolder() override;
  void ReadDesktopFolderPath(char* path) override;
  bool CreateLinkObject() override { return folders_.CreateLinkObject(); }
  void ReleaseLinkObject() override { folders_.ReleaseLinkObject(); }
  FolderEnvironment& Folders() override { return folders_; }
  char* AllocateSectionBuffer() override;
  void FreeSectionBuffer(char* buffer) override;
  uint32_t WindowsDirectory(char* buffer, uint32_t size) override;
  uint32_t ReadProfileSection(const char* section, char* buffer, uint32_t size,
                              const char* file) override;
  bool WriteProfileSection(const char* section, const char* lines, const char* file) override;
  bool IsNtFamily() override;
  bool ScheduleDeletionAtBoot(const char* path) override;
  void ShowMessage(const char* text, const char* caption) override;

 private:
  HWND owner_;
  IMalloc* allocator_ = nullptr;
  LPITEMIDLIST desktop_ = nullptr;
  Win32FolderEnvironment folders_;
};
