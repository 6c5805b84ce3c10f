#pragma once
// Everything the uninstall sequence asks of the system, one operation per call so that a test can
// follow each call and its order.
#include <cstdint>

#include "uninstall/folder_environment.h"
#include "uninstall/install_prefix.h"

enum class RegistryRoot : uint8_t { kCurrentUser, kLocalMachine };

struct FileDeletion {
  bool deleted;
  uint32_t error;  // the system's error code when not deleted
};

inline constexpr uint32_t kErrorFileNotFound = 2;

class UninstallPlatform : public CurrentDirectorySource {
 public:
  using Key = void*;

  virtual void DeleteKey(RegistryRoot root, const char* path) = 0;
  // Opens with full access; nullptr when the key does not open.
  virtual Key OpenKey(RegistryRoot root, const char* path) = 0;
  // Reads a string value into `buffer` of `size` bytes; false when it is missing or does not fit.
  virtual bool QueryValue(Key key, const char* name, char* buffer, uint32_t size) = 0;
  virtual void CloseKey(Key key) = 0;

  virtual FileDeletion DeleteFileReporting(const char* path) = 0;

  // The shell part: COM on this thread, the shell's allocator, the desktop folder, the link object.
  virtual int32_t InitializeCom() = 0;  // the COM result code; 0 is S_OK
  virtual void UninitializeCom() = 0;
  virtual bool AcquireShellAllocator() = 0;
  virtual void ReleaseShellAllocator() = 0;
  virtual bool LocateDesktopFolder() = 0;
  // Writes the located folder's file-system path (empty when it has none) into `path`
  // (kPathCapacity characters) and frees the location.
  virtual void ReadDesktopFolderPath(char* path) = 0;
  virtual bool CreateLinkObject() = 0;
  virtual void ReleaseLinkObject() = 0;
  virtual FolderEnvironment& Folders() = 0;

  // The boot-time rename file.
  virtual char* AllocateSectionBuffer() = 0;  // kSectionCapacity bytes, or nullptr
  virtual void FreeSectionBuffer(char* buffer) = 0;
  // Like CurrentDirectory: the length written, 0 on failure, more than `size` when it does not fit.
  virtual uint32_t WindowsDirectory(char* buffer, uint32_t size) = 0;
  virtual uint32_t ReadProfileSection(const char* section, char* buffer, uint32_t size,
                                      const char* file) = 0;
  virtual bool WriteProfileSection(const char* section, const char* lines, const char* file) = 0;

  // The NT family never reads the rename file; it keeps a boot-time deletion list of its own.
  virtual bool IsNtFamily() = 0;
  // Adds a file, or an empty directory, to that list; false when the system refuses (on NT a
  // user without administrator rights, on the 9x family always).
  virtual bool ScheduleDeletionAtBoot(const char* path) = 0;

  // A message box of the dialog with one OK button and no icon.
  virtual void ShowMessage(const char* text, const char* caption) = 0;
};
