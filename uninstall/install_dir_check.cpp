#include "uninstall/install_dir_check.h"

#include "uninstall/ascii_text.h"
#include "uninstall/uninstall_names.h"

bool IsInstallDirEmpty(FolderEnvironment& folders, const char* pattern) {
  FolderEntry entry;
  FolderEnvironment::Search search = folders.StartSearch(pattern, entry);
  if (search == nullptr) return false;
  bool empty = true;
  do {
    bool stays = entry.isDirectory ? !IsPassedOverFolderName(entry.name)
                                   : !EqualIgnoringAsciiCase(entry.name, kUninstallerName);
    if (stays) {
      empty = false;
      break;
    }
  } while (folders.NextEntry(search, entry));
  folders.EndSearch(search);
  return empty;
}
