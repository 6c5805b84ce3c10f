#pragma once
// The install directory as a prefix of the program path buffer: the directory that holds the
// uninstaller, with its trailing backslash, so that file names can be written right behind it.
#include <cstddef>
#include <cstdint>

class CurrentDirectorySource {
 public:
  virtual ~CurrentDirectorySource() = default;
  // Writes the process's current directory into `buffer` and returns its length; 0 on failure,
  // or the size needed (more than `size`) when it does not fit.
  virtual uint32_t CurrentDirectory(char* buffer, uint32_t size) = 0;
};

// `programPath` (kPathCapacity characters) holds the "UninstallString" value when `valueRead`.
// The value less its last 12 characters is the prefix; a value wrapped in double quotes is taken
// without them. When that leaves nothing, the current directory (plus a backslash) is the prefix.
// Returns the prefix length at the start of `programPath`: at most kMaxPrefixLength, and 0 when
// no install directory is known.
size_t DeriveInstallPrefix(char* programPath, bool valueRead, CurrentDirectorySource& directory);
