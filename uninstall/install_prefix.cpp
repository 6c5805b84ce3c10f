#include "uninstall/install_prefix.h"

#include <cstring>

#include "uninstall/ascii_text.h"
#include "uninstall/uninstall_names.h"

static size_t PrefixFromValue(char* path) {
  size_t length = BoundedLength(path, kPathCapacity);
  if (length == kPathCapacity) return 0;  // no terminator: the value did not fit
  if (length >= 2 && path[0] == '"' && path[length - 1] == '"') {
    length -= 2;
    memmove(path, path + 1, length);
    path[length] = '\0';
  }
  // The file name is assumed, not checked: the last 12 characters go whatever they are.
  if (length >= kUninstallerNameLength) length -= kUninstallerNameLength;
  return length;
}

static size_t PrefixFromCurrentDirectory(char* path, CurrentDirectorySource& directory) {
  uint32_t reported = directory.CurrentDirectory(path, kPathCapacity);
  if (reported == 0 || reported >= kPathCapacity) return 0;
  size_t length = reported;
  bool needsBackslash = path[length - 1] != '\\';
  // A directory too long to hold the file names behind it is not used at all.
  if (length + (needsBackslash ? 1 : 0) > kMaxPrefixLength) return 0;
  if (needsBackslash) path[length++] = '\\';
  return length;
}

size_t DeriveInstallPrefix(char* programPath, bool valueRead, CurrentDirectorySource& directory) {
  if (valueRead) {
    size_t length = PrefixFromValue(programPath);
    if (length != 0) return length;
  }
  return PrefixFromCurrentDirectory(programPath, directory);
}
