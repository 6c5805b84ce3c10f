#pragma once
// A program's own path: the folder that holds the program.
#include <cstddef>

// Either kind of slash separates the parts of a path.
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// The folder part of a program's full path, without the final backslash ("C:\" keeps it). False
// (and out empty) when the path holds no folder or the folder does not fit.
bool FolderOfProgram(const char* programPath, char* out, size_t capacity);
