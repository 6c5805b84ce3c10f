#include "uninstall/rename_section.h"

#include <cstring>

#include "uninstall/ascii_text.h"
#include "uninstall/uninstall_names.h"

static size_t LineSize(size_t pathLength) { return sizeof(kDeleteAtBootPrefix) - 1 + pathLength + 1; }

static size_t AppendLine(char* at, const char* path, size_t pathLength) {
  size_t prefixLength = sizeof(kDeleteAtBootPrefix) - 1;
  memcpy(at, kDeleteAtBootPrefix, prefixLength);
  memcpy(at + prefixLength, path, pathLength);
  at[prefixLength + pathLength] = '\0';
  return LineSize(pathLength);
}

bool BuildRenameSection(char* section, uint32_t reportedCount, const char* uninstallerPath,
                        const char* installDir, bool installDirEmpty) {
  if (reportedCount > kSectionContentLimit) return false;
  size_t fileLength = BoundedLength(uninstallerPath, kPathCapacity - 1);
  size_t dirLength = installDirEmpty ? BoundedLength(installDir, kPathCapacity - 1) : 0;
  size_t needed = LineSize(fileLength) + (installDirEmpty ? LineSize(dirLength) : 0) + 1;
  if (reportedCount + needed > kSectionCapacity) return false;

  char* at = section + reportedCount;
  at += AppendLine(at, uninstallerPath, fileLength);
  if (installDirEmpty) at += AppendLine(at, installDir, dirLength);
  *at = '\0';
  return true;
}
