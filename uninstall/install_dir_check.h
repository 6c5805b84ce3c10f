#pragma once
// Whether the install directory holds nothing but the uninstaller, so that it may be scheduled for
// deletion together with it.
#include "uninstall/folder_environment.h"

// `pattern` lists the install directory ("<prefix>*.*"). False when the search cannot start, or at
// the first folder (other than the passed-over dot names) or file other than the uninstaller.
bool IsInstallDirEmpty(FolderEnvironment& folders, const char* pattern);
