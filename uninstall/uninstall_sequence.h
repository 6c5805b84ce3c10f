#pragma once
// The whole removal of the sibling panel, run once when the user confirms.
#include <cstddef>

#include "uninstall/uninstall_names.h"
#include "uninstall/uninstall_platform.h"

// The process-wide buffers of one run; zero-filled before it.
struct UninstallState {
  char programPath[kPathCapacity];  // prefix + the file name at hand; the sweep's target
  size_t prefixLength;              // install directory, trailing backslash included
  char workPath[kPathCapacity];     // the desktop walk, the install search, the install directory
  char profilePath[kPathCapacity];  // the boot-time rename file
  bool installDirEmpty;
};

// Removes the registry keys, the program file, the desktop shortcuts to the program and its help
// file, the help files, and schedules the uninstaller (and its emptied directory) for deletion at
// the next start of the system. No failure stops the sequence; failures to delete a file and to
// schedule are reported by message boxes.
void RunUninstall(UninstallState& state, UninstallPlatform& platform);
