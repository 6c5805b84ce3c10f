#pragma once
// The dialog layer of both programs: one object bound to one dialog window, each message handed to
// one handler. The modal run keeps its own message loop so that every message passes the dialog's
// accelerator table before the dialog navigation sees it; run over an owner, it keeps the owner
// from input as DialogBox does.
//
// The handlers are bound when the program is compiled (a dialog class derives from
// Dialog<itself>): a dialog carries code only for the messages it handles, and no table of them.
#include <windows.h>

// What every dialog window has, whatever its handlers: creation, the modal run and its end, and
// the messages handled alike for all (a program window's icon, the close box, destruction).
class DialogWindow {
 public:
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Creates the dialog from a template (modeless); false when the template cannot be made.
  bool Create(HINSTANCE instance, int templateId, HWND owner);
  // Creates, shows and runs the dialog until End() is called; returns End's result, or -1 when
  // the dialog could not be created. A WM_QUIT ends the run too (and is posted again). The owner,
  // if any, takes no input until the run ends.
  int RunModal(HINSTANCE instance, int templateId, HWND owner = nullptr);
  // Ends the modal run with a result and destroys the window. The close box ends it with
  // IDCANCEL.
  void End(int result);

  HWND Handle() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  bool Ended() const { return ended_; }

 protected:
  explicit DialogWindow(DLGPROC procedure) : procedure_(procedure) {}
  // Destroys a window that is still there.
  ~DialogWindow();

  // Makes the dialog a program's main window (from OnInitDialog): a fixed size, so its window menu
  // offers neither Size nor Maximize; the program's icons in the caption and the task bar (the
  // small one, when null, is the big one); and, while minimised, the big icon drawn in the
  // window's place and handed out for dragging.
  void SetUpProgramWindow(HICON icon, HICON smallIcon = nullptr);
  // The accelerator table that the modal run translates with, from now on; none at first.
  void UseAccelerators(HACCEL table) { accelerators_ = table; }
  // Sets the result that the window procedure returns for the current message.
  void SetMessageResult(LRESULT result) { SetWindowLongPtrA(window_, DWLP_MSGRESULT, result); }

  // For the dialog procedure: the object of the window (bound at WM_INITDIALOG), null before and
  // after it; and the messages every dialog handles alike, with the procedure's result.
  static DialogWindow* Bound(HWND window, UINT message, LPARAM lParam);
  INT_PTR HandleCommon(UINT message);

 private:
  DLGPROC procedure_;
  HWND window_ = nullptr;
  HWND disabledOwner_ = nullptr;  // the owner this run disabled, until it gives it back
  HICON icon_ = nullptr;          // a program window's big icon
  HACCEL accelerators_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
};

// A dialog class derives from Dialog<itself>, declares the handlers it wants (hiding the defaults
// below) and makes the procedure its friend (friend Dialog;). A handler that returns false lets
// the default dialog handling continue.
template <class Derived>
class Dialog : public DialogWindow {
 protected:
  Dialog() : DialogWindow(Procedure) {}

  bool OnInitDialog() { return true; }  // result of WM_INITDIALOG: true = default focus
  // The OK and Cancel buttons (Enter and Escape through the dialog navigation) end the run with
  // IDOK and IDCANCEL.
  bool OnCommand(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED || (id != IDOK && id != IDCANCEL)) return false;
    End(id);
    return true;
  }
  bool OnHScroll(HWND /*control*/, int /*code*/) { return false; }
  // A command of the window menu (its low four bits cleared); false lets the system carry it out.
  bool OnSysCommand(UINT /*command*/) { return false; }
  // Files dropped on the window (it accepts them once it has called DragAcceptFiles).
  void OnDropFiles(HDROP /*drop*/) {}
  bool OnQueryEndSession() { return true; }
  void OnEndSession(bool /*ending*/) {}
  bool OnAppMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }
  // Three handlers have no default, so that a dialog without them carries no code for their
  // messages: LRESULT OnCopyData(const COPYDATASTRUCT& data), data that another program hands the
  // window (WM_COPYDATA), whose result is the answer that program gets; void OnDestroy(), the
  // window going (WM_DESTROY), to take off what was attached to it; and
  // void OnInitMenuPopup(HMENU menu, bool windowMenu), a menu of the window about to open
  // (windowMenu: the window menu), the last moment to set how its items show.

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages before WM_INITDIALOG (WM_SETFONT) and after the object let go of the window.
    auto* self = static_cast<Derived*>(Bound(window, message, lParam));
    if (!self) return FALSE;
    if constexpr (requires(Derived& dialog, const COPYDATASTRUCT& data) { dialog.OnCopyData(data); }) {
      if (message == WM_COPYDATA) {
        self->SetMessageResult(self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)));
        return TRUE;
      }
    }
    if constexpr (requires(Derived& dialog) { dialog.OnDestroy(); }) {
      if (message == WM_DESTROY) self->OnDestroy();
    }
    if constexpr (requires(Derived& dialog, HMENU menu) { dialog.OnInitMenuPopup(menu, true); }) {
      if (message == WM_INITMENUPOPUP) {
        self->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        return FALSE;
      }
    }
    switch (message) {
      case WM_INITDIALOG:
        return self->OnInitDialog() ? TRUE : FALSE;
      case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
      case WM_HSCROLL:
        return self->OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)) ? TRUE : FALSE;
      case WM_SYSCOMMAND:
        return self->OnSysCommand(static_cast<UINT>(wParam & 0xFFF0)) ? TRUE : FALSE;
      case WM_DROPFILES:
        self->OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
      case WM_QUERYENDSESSION:
        self->SetMessageResult(self->OnQueryEndSession() ? TRUE : FALSE);
        return TRUE;
      case WM_ENDSESSION:
        self->OnEndSession(wParam != FALSE);
        self->SetMessageResult(0);
        return TRUE;
      default:
        if (message >= WM_APP && message <= 0xBFFF) return self->OnAppMessage(message, wParam, lParam) ? TRUE : FALSE;
        return self->HandleCommon(message);
    }
  }
};

inline DialogWindow* DialogWindow::Bound(HWND window, UINT message, LPARAM lParam) {
  if (message != WM_INITDIALOG) return reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  auto* self = reinterpret_cast<DialogWindow*>(lParam);
  self->window_ = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
  return self;
}
