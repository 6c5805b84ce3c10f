// ucorvane: asks for confirmation and removes the sibling panel. The program ends as soon as its
// one dialog closes; it reads no command line and keeps no state of its own.
#include <windows.h>

#include "uninstall/uninstall_dialog_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  UninstallDialog dialog(instance);
  dialog.Run();
  return 0;
}
