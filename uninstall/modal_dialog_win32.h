#pragma once
// A modal dialog from a template, bound to its object: the procedure finds the object through the
// window's user data, set when the dialog is created. Derived classes handle what they need.
#include <windows.h>

class ModalDialog {
 public:
  ModalDialog(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Runs the dialog until it ends; returns the code it ended with, or -1 when it could not open.
  INT_PTR Run(HWND parent);

 protected:
  ~ModalDialog() = default;

  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK() { End(IDOK); }
  // The Cancel button, Escape and the close box all arrive here.
  virtual void OnCancel() { End(IDCANCEL); }
  // Any other message; true when handled, with the procedure's result in `result`.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  void End(INT_PTR code) { EndDialog(window_, code); }
  HWND Window() const { return window_; }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int templateId_;
  HWND window_ = nullptr;
};
