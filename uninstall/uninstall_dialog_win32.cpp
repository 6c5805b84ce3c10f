#include "uninstall/uninstall_dialog_win32.h"

#include "uninstall/uninstall_platform_win32.h"
#include "uninstall/uninstall_sequence.h"

bool UninstallDialog::OnInitDialog() {
  SetUpProgramWindow(LoadIconA(instance_, MAKEINTRESOURCEA(IDI_UNINSTALL)));
  return true;
}

bool UninstallDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDOK && code == BN_CLICKED) {
    // The buffers of the one uninstall run, zero-filled.
    UninstallState state = {};
    Win32UninstallPlatform platform(Handle());
    RunUninstall(state, platform);
  }
  return Dialog::OnCommand(id, code, control);
}
