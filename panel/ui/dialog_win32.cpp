#include "panel/ui/dialog_win32.h"

Dialog::~Dialog() {
  if (window_) {
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

bool Dialog::Create(HINSTANCE instance, int templateId, HWND owner) {
  ended_ = false;
  result_ = 0;
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProcedure,
                                   reinterpret_cast<LPARAM>(this));
  return window != nullptr;
}

int Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
  if (!Create(instance, templateId, owner)) return -1;
  if (!ended_) ShowWindow(window_, SW_SHOW);
  MSG msg;
  while (!ended_) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Someone asked the thread to quit: end like the close box, and leave the quit for the
      // caller's own loop, if any.
      PostQuitMessage(static_cast<int>(msg.wParam));
      End(IDCANCEL);
      break;
    }
    if (got == -1) {
      End(IDCANCEL);
      break;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return result_;
}

void Dialog::End(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  if (window_) DestroyWindow(window_);
}

bool Dialog::PreTranslate(MSG& msg) {
  if (!window_) return false;
  HACCEL accelerators = Accelerators();
  if (accelerators && TranslateAcceleratorA(window_, accelerators, &msg)) return true;
  return IsDialogMessageA(window_, &msg) != FALSE;
}

void Dialog::SetMessageResult(LRESULT result) {
  SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
}

INT_PTR CALLBACK Dialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) and after the object let go of the window.
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    // A window destroyed from outside still ends the run.
    self->ended_ = true;
    return FALSE;
  }
  return self->Dispatch(message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_HSCROLL:
      return OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)) ? TRUE : FALSE;
    case WM_PAINT:
      return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      // One of the messages whose result the dialog procedure returns directly.
      return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_QUERYENDSESSION:
      SetMessageResult(OnQueryEndSession() ? TRUE : FALSE);
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      SetMessageResult(0);
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    default:
      if (message >= WM_APP && message <= 0xBFFF) return OnAppMessage(message, wParam, lParam) ? TRUE : FALSE;
      return FALSE;
  }
}
