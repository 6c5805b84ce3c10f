#pragma once
// Deletes the shell shortcuts in a folder tree whose target is one given path (ignoring the case
// of A to Z), and removes the subfolders that this leaves empty. The start folder always stays.
#include <cstddef>
#include <cstdint>

#include "uninstall/folder_environment.h"

inline constexpr uint8_t SWEEP_DELETED = 0x01;  // a matching shortcut was deleted here or below
inline constexpr uint8_t SWEEP_KEPT = 0x80;     // something here or below stays

struct SweepWalk {
  FolderEnvironment& folders;
  char* workPath;      // kPathCapacity characters; the first P hold the folder, no trailing backslash
  const char* target;  // the target path to match
};

// Walks the folder whose path is the first `p` characters of `walk.workPath` (p >= 1), depth
// first, writing each entry's path behind position p. The result is `flags` ORed with the outcome
// of every file and subfolder below. A folder whose result is exactly SWEEP_DELETED is removed.
// Entries whose full path would not fit the buffer, and folders that are links to somewhere else,
// are left alone and count as SWEEP_KEPT.
uint8_t ShortcutSweep(const SweepWalk& walk, size_t p, uint8_t flags);
