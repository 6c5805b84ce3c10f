#pragma once
// The family of the Windows this program runs on (system_family.h).
#include "runtime/system_family.h"

SystemFamily CurrentSystemFamily();
