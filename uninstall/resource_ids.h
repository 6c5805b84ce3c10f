#pragma once
// Resource numbers of the uninstaller (shared by the resource script and the code).
#define IDD_UNINSTALL 102
#define IDI_UNINSTALL 128
