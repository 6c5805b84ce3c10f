#pragma once
// Folder listing, shortcut reading and deletion on the Win32 API. One find-data record serves
// every search, so an entry's name is valid only until the next call; one shell link object,
// created by the owner of the walk, is reloaded from each candidate file.
#include <windows.h>
#include <shlobj.h>

#include "uninstall/folder_environment.h"
#include "uninstall/uninstall_names.h"

class Win32FolderEnvironment final : public FolderEnvironment {
 public:
  // Needs COM on this thread. False when the link object cannot be created.
  bool CreateLinkObject();
  void ReleaseLinkObject();

  Search StartSearch(const char* pattern, FolderEntry& entry) override;
  bool NextEntry(Search search, FolderEntry& entry) override;
  void EndSearch(Search search) override;
  ShortcutRead ReadShortcut(const char* path, const char** target) override;
  void RemoveFile(const char* path) override;
  void RemoveFolder(const char* path) override;

 private:
  void Fill(FolderEntry& entry);

  WIN32_FIND_DATAA findData_;
  WIN32_FIND_DATAA linkFindData_;   // the shortcut's own find data, asked for and not used
  WCHAR widePath_[kPathCapacity];  // also receives the target path, as 520 single-byte characters
  CLSID linkClass_;
  IShellLinkA* link_ = nullptr;
};
