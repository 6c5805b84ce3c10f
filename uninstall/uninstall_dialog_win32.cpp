#include "uninstall/uninstall_dialog_win32.h"

#include "uninstall/resource_ids.h"
#include "uninstall/uninstall_platform_win32.h"
#include "uninstall/uninstall_sequence.h"

// The process-wide buffers of the one uninstall run, zero-filled at start.
static UninstallState uninstallState;

UninstallDialog::UninstallDialog(HINSTANCE instance)
    : ModalDialog(instance, IDD_UNINSTALL),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_UNINSTALL))) {}

BOOL UninstallDialog::OnInitDialog() {
  // The dialog has a fixed size.
  HMENU systemMenu = GetSystemMenu(Window(), FALSE);
  if (systemMenu != nullptr) {
    DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
  }
  SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  return TRUE;
}

void UninstallDialog::OnOK() {
  Win32UninstallPlatform platform(Window());
  RunUninstall(uninstallState, platform);
  End(IDOK);
}

void UninstallDialog::PaintMinimized() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Window(), &paint);
  SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(Window(), &client);
  int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(Window(), &paint);
}

bool UninstallDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
  switch (message) {
    case WM_PAINT:
      if (!IsIconic(Window())) return false;
      PaintMinimized();
      result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(icon_);
      return true;
    default:
      return false;
  }
}
