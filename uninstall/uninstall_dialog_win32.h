#pragma once
// The confirmation dialog: OK removes the sibling panel, Cancel changes nothing.
#include "dialog/dialog_win32.h"
#include "uninstall/resource_ids.h"

class UninstallDialog final : public Dialog<UninstallDialog> {
 public:
  explicit UninstallDialog(HINSTANCE instance) : instance_(instance) {}

  // Runs the dialog until OK, Cancel, Escape or the close box ends it.
  void Run() { RunModal(instance_, IDD_UNINSTALL); }

 protected:
  friend Dialog;
  bool OnInitDialog();
  bool OnCommand(int id, int code, HWND control);

 private:
  HINSTANCE instance_;
};
