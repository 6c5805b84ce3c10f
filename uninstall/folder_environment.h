#pragma once
// What a walk over folders needs of the file system and the shell. The Win32 adapter works on one
// shared find-data record, so an entry's name stays valid only until the next call.
#include <cstddef>
#include <cstdint>

struct FolderEntry {
  const char* name = nullptr;
  bool isDirectory = false;
  // The entry leads somewhere else (a junction, a symbolic link, a mount point): what lies behind
  // it is not inside the folder being listed. Never set on systems without such links.
  bool isLink = false;
};

enum class ShortcutRead : uint8_t {
  kTarget,         // a shell shortcut whose target path was read
  kNotShortcut,    // no class could be found for the file, or it is not the shell link class
  kNoPersistFile,  // the link object offers no persist-file interface
  kNotLoaded,      // the file could not be loaded as a shortcut
  kNoTarget,       // the shortcut has no file-system target path
};

class FolderEnvironment {
 public:
  using Search = void*;

  virtual ~FolderEnvironment() = default;
  // Starts listing the entries that `pattern` matches; nullptr when the search cannot start.
  virtual Search StartSearch(const char* pattern, FolderEntry& entry) = 0;
  // False when no entry is left (or the listing failed).
  virtual bool NextEntry(Search search, FolderEntry& entry) = 0;
  virtual void EndSearch(Search search) = 0;
  // On kTarget, `target` points at the terminated target path until the next call.
  virtual ShortcutRead ReadShortcut(const char* path, const char** target) = 0;
  virtual void RemoveFile(const char* path) = 0;
  virtual void RemoveFolder(const char* path) = 0;
};

// "." and "..", and every folder name that begins with "..", are never walked or counted.
inline bool IsPassedOverFolderName(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || name[1] == '.');
}
