#pragma once
// A settings file read whole through the system's file handles (shared for reading with other
// programs) into pages of its own, refused unread when it is too large.
#include "panel/files/settings_file.h"

LoadResult LoadSettingsFile(const char* path, const PanelSettings& current, PanelSettings* loaded);
