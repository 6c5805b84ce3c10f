#pragma once
// The confirmation dialog: OK removes the sibling panel, Cancel changes nothing.
#include "uninstall/modal_dialog_win32.h"

class UninstallDialog final : public ModalDialog {
 public:
  explicit UninstallDialog(HINSTANCE instance);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  void PaintMinimized();

  HICON icon_;
};
