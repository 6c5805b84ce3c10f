#include "dialog/dialog_win32.h"

namespace {
// A minimised dialog has no class icon to show: its icon is drawn centred in the client area,
// over the background the system erases as for any icon.
bool PaintMinimized(HWND window, HICON icon) {
  if (!icon || !IsIconic(window)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window, &client);
  int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon);
  EndPaint(window, &paint);
  return true;
}
}  // namespace

DialogWindow::~DialogWindow() {
  if (!window_) return;
  // The window lets go of the object first: no handler runs on a half-destroyed object.
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool DialogWindow::Create(HINSTANCE instance, int templateId, HWND owner) {
  ended_ = false;
  result_ = 0;
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure_,
                                   reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

int DialogWindow::RunModal(HINSTANCE instance, int templateId, HWND owner) {
  if (!Create(instance, templateId, owner)) return -1;
  if (!ended_) {
    // EnableWindow answers whether the owner was disabled before: one that was stays so.
    if (owner && !EnableWindow(owner, FALSE)) disabledOwner_ = owner;
    ShowWindow(window_, SW_SHOW);
  }
  MSG msg;
  while (!ended_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // Someone asked the thread to quit: end like the close box, and leave the quit for the
      // caller's own loop, if any.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      End(IDCANCEL);
      break;
    }
    // The accelerators come before the dialog navigation.
    if (accelerators_ && TranslateAcceleratorA(window_, accelerators_, &msg)) continue;
    if (IsDialogMessageA(window_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return result_;
}

void DialogWindow::End(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  // Only an enabled window can take the activation that the closing dialog hands on.
  if (disabledOwner_) EnableWindow(disabledOwner_, TRUE);
  disabledOwner_ = nullptr;
  if (window_) DestroyWindow(window_);
}

void DialogWindow::SetUpProgramWindow(HICON icon, HICON smallIcon) {
  icon_ = icon;
  HMENU systemMenu = GetSystemMenu(window_, FALSE);
  DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon : icon));
}

INT_PTR DialogWindow::HandleCommon(UINT message) {
  switch (message) {
    case WM_PAINT:
      return PaintMinimized(window_, icon_) ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      // One of the messages whose result the dialog procedure returns directly.
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_CLOSE:
      End(IDCANCEL);
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      // A window destroyed from outside still ends the run (with the result it has).
      End(result_);
      return FALSE;
    default:
      return FALSE;
  }
}
