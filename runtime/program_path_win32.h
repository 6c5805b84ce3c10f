#pragma once
// The folder that holds this program's file (program_path.h).
#include <cstddef>

// False (and folder empty) when the program's path cannot be read or its folder does not fit.
bool ProgramFolder(char* folder, size_t capacity);
