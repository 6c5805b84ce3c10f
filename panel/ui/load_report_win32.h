#pragma once
// What the panel tells the user when a settings file changed nothing: a message box that names the
// file and says why, with texts of the string table.
#include <windows.h>

#include "panel/files/settings_file.h"

// Shows the box (owned by `owner`, none when null) when the file was not loaded.
void ReportLoad(HWND owner, HINSTANCE resources, const LoadResult& result, const char* path);
