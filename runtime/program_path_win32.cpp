#include "runtime/program_path_win32.h"

#include <windows.h>

#include "runtime/program_path.h"

bool ProgramFolder(char* folder, size_t capacity) {
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  // A path that filled the buffer may have been cut short.
  if (length == 0 || length >= sizeof program) program[0] = '\0';
  return FolderOfProgram(program, folder, capacity);
}
