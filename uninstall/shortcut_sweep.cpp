#include "uninstall/shortcut_sweep.h"

#include <cstring>

#include "uninstall/ascii_text.h"
#include "uninstall/uninstall_names.h"

static constexpr char kFolderPattern[] = "\\*.*";

static uint8_t SweepFile(const SweepWalk& walk) {
  const char* target = nullptr;
  if (walk.folders.ReadShortcut(walk.workPath, &target) != ShortcutRead::kTarget ||
      !EqualIgnoringAsciiCase(target, walk.target)) {
    return SWEEP_KEPT;
  }
  // Counted as deleted even when the deletion fails; the folder's removal is then refused.
  walk.folders.RemoveFile(walk.workPath);
  return SWEEP_DELETED;
}

uint8_t ShortcutSweep(const SweepWalk& walk, size_t p, uint8_t flags) {
  char* path = walk.workPath;
  if (p + sizeof(kFolderPattern) <= kPathCapacity) {
    memcpy(path + p, kFolderPattern, sizeof(kFolderPattern));
    FolderEntry entry;
    FolderEnvironment::Search search = walk.folders.StartSearch(path, entry);
    if (search != nullptr) {
      do {
        // The entry lives in the shared search record: take what is needed before recursing.
        bool isDirectory = entry.isDirectory;
        if (isDirectory && IsPassedOverFolderName(entry.name)) continue;
        // A folder that links elsewhere is not ours to walk or remove, and it keeps its parent.
        if (isDirectory && entry.isLink) {
          flags |= SWEEP_KEPT;
          continue;
        }
        size_t n = BoundedLength(entry.name, kPathCapacity);
        size_t end = p + 1 + n;
        size_t room = isDirectory ? sizeof(kFolderPattern) : 1;
        if (end + room > kPathCapacity) {
          flags |= SWEEP_KEPT;
          continue;
        }
        path[p] = '\\';
        memcpy(path + p + 1, entry.name, n);
        path[end] = '\0';
        flags |= isDirectory ? ShortcutSweep(walk, end, 0) : SweepFile(walk);
      } while (walk.folders.NextEntry(search, entry));
      walk.folders.EndSearch(search);
    }
  }
  if (flags == SWEEP_DELETED) {
    path[p] = '\0';
    walk.folders.RemoveFolder(path);
  }
  return flags;
}
