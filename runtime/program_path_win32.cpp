#include "runtime/program_path_win32.h"

#include <windows.h>

#include "runtime/program_path.h"

bool ProgramPath(char* path, size_t capacity) {
  DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(capacity));
  // A path that filled the buffer may have been cut short.
  if (length == 0 || length >= capacity) {
    if (capacity > 0) path[0] = '\0';
    return false;
  }
  return true;
}

bool ProgramFolder(char* folder, size_t capacity) {
  char program[MAX_PATH];
  ProgramPath(program, sizeof program);
  return FolderOfProgram(program, folder, capacity);
}
