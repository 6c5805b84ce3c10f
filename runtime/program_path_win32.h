#pragma once
// This program's own file and the folder that holds it (program_path.h).
#include <cstddef>

// This program's full path; false (and path empty) when it cannot be read or does not fit.
bool ProgramPath(char* path, size_t capacity);
// False (and folder empty) when the program's path cannot be read or its folder does not fit.
bool ProgramFolder(char* folder, size_t capacity);
