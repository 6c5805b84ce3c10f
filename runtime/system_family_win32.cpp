#include "runtime/system_family_win32.h"

#include <windows.h>

SystemFamily CurrentSystemFamily() { return FamilyOfVersion(GetVersion()); }
