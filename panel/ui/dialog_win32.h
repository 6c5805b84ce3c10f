#pragma once
// Our small dialog class: one object bound to one dialog window, each message handed to one
// virtual handler. The modal run keeps its own message loop so that every message passes the
// dialog's accelerator table before the dialog navigation sees it.
#include <windows.h>

class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the dialog from a template (modeless); false when the template cannot be made.
  bool Create(HINSTANCE instance, int templateId, HWND owner);
  // Creates, shows and runs the dialog until End() is called; returns End's result, or -1 when
  // the dialog could not be created. A WM_QUIT ends the run too (and is posted again).
  int RunModal(HINSTANCE instance, int templateId, HWND owner = nullptr);
  // Ends the modal run with a result and destroys the window.
  void End(int result);

  HWND Handle() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  bool Ended() const { return ended_; }

  // One pass of the modal loop's filter: the accelerators, then the dialog navigation. True when
  // the message was consumed and must not be dispatched.
  bool PreTranslate(MSG& msg);

 protected:
  // Handlers: a handler that returns false lets the default dialog handling continue.
  virtual bool OnInitDialog() { return true; }  // result of WM_INITDIALOG: true = default focus
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnHScroll(HWND /*control*/, int /*code*/) { return false; }
  virtual bool OnPaint() { return false; }
  virtual HICON OnQueryDragIcon() { return nullptr; }
  virtual bool OnQueryEndSession() { return true; }
  virtual void OnEndSession(bool /*ending*/) {}
  virtual void OnClose() { End(IDCANCEL); }
  virtual bool OnAppMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }
  // The accelerator table the modal loop translates with; none by default.
  virtual HACCEL Accelerators() const { return nullptr; }

  // Sets the result that the window procedure returns for the current message.
  void SetMessageResult(LRESULT result);

 private:
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
};
