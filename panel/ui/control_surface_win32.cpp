#include "panel/ui/control_surface_win32.h"

#include <commctrl.h>

LRESULT Win32ControlSurface::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
}

void Win32ControlSurface::SetSliderRange(int id, int low, int high) {
  // The two halves separately: TBM_SETRANGE packs both into 16-bit words.
  Send(id, TBM_SETRANGEMIN, FALSE, low);
  Send(id, TBM_SETRANGEMAX, TRUE, high);
}

void Win32ControlSurface::SetSliderTick(int id, int position) { Send(id, TBM_SETTIC, 0, position); }

void Win32ControlSurface::SetSliderPos(int id, int position) { Send(id, TBM_SETPOS, TRUE, position); }

int Win32ControlSurface::SliderPos(int id) { return static_cast<int>(Send(id, TBM_GETPOS, 0, 0)); }

void Win32ControlSurface::SetEditLimit(int id, int characters) { Send(id, EM_LIMITTEXT, characters, 0); }

void Win32ControlSurface::SetUpDownRange(int id, int low, int high) {
  Send(id, UDM_SETRANGE, 0, MAKELPARAM(high, low));
}

void Win32ControlSurface::SetText(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }

void Win32ControlSurface::GetText(int id, char* buffer, size_t size) {
  if (size == 0) return;
  buffer[0] = '\0';
  GetDlgItemTextA(dialog_, id, buffer, static_cast<int>(size));
}

void Win32ControlSurface::SetCheck(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int Win32ControlSurface::ComboSelection(int id) {
  LRESULT index = Send(id, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32ControlSurface::SetComboSelection(int id, int index) { Send(id, CB_SETCURSEL, index, 0); }

void Win32ControlSurface::AddComboItem(int id, const char* text) {
  Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void Win32ControlSurface::Focus(int id) {
  // Not SetFocus: the dialog's navigation also selects an edit box's text and keeps the default
  // button right.
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)), TRUE);
}

void Win32ControlSurface::Show(int id, bool visible) {
  ShowWindow(GetDlgItem(dialog_, id), visible ? SW_SHOW : SW_HIDE);
}
