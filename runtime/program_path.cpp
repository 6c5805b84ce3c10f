#include "runtime/program_path.h"

bool FolderOfProgram(const char* programPath, char* out, size_t capacity) {
  size_t end = 0;  // the length of the folder part
  for (size_t i = 0; programPath[i] != '\0'; ++i) {
    if (IsPathSeparator(programPath[i])) end = i;
  }
  if (end == 2 && programPath[1] == ':') end = 3;  // a program in a drive's root: keep "C:\"
  if (end == 0 || end + 1 > capacity) {
    if (capacity > 0) out[0] = '\0';
    return false;
  }
  for (size_t i = 0; i < end; ++i) out[i] = programPath[i];
  out[end] = '\0';
  return true;
}
