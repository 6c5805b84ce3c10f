#include "uninstall/modal_dialog_win32.h"

INT_PTR ModalDialog::Run(HWND parent) {
  return DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), parent, Procedure,
                         reinterpret_cast<LPARAM>(this));
}

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->window_ = window;
    return dialog->OnInitDialog();
  }
  auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK: dialog->OnOK(); return TRUE;
      case IDCANCEL: dialog->OnCancel(); return TRUE;
      default: break;
    }
  }
  INT_PTR result = FALSE;
  return dialog->OnMessage(message, wParam, lParam, result) ? result : FALSE;
}
