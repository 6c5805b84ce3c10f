#include "panel/device/tick_source_win32.h"

#include <windows.h>

uint32_t TickSourceWin32::Milliseconds() { return GetTickCount(); }
