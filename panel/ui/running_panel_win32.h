#pragma once
// The panel of this program that runs in the user's session, through the window system: the
// panel's window carries a mark named for the program (a window property, which every program of
// the session can read), so that only a panel of this program is taken for one, whatever else has
// its caption. A request travels as WM_COPYDATA: the request in dwData, the file's full path with
// its ending zero as the data (none without a file); the answer is the message's result.
#include <windows.h>

#include "panel/ui/running_panel.h"

// How long a start waits for the running panel's answer. The panel answers before it shows a box,
// so only a panel that hangs takes this long.
constexpr UINT kPanelAnswerWaitMs = 5000;

class RunningPanelWin32 final : public RunningPanel {
 public:
  // mark: the name this program's panel marks its window with.
  explicit RunningPanelWin32(const char* mark, UINT answerWaitMs = kPanelAnswerWaitMs)
      : mark_(mark), answerWaitMs_(answerWaitMs) {}

  bool Find() override;
  // A file is handed over by its full path: the running panel's current folder is not this one's.
  int HandOver(PanelRequest request, const char* file) override;
  // Called by the starting program, which the system lets take the foreground; the panel, in the
  // background, may not.
  void BringToFront() override;

 private:
  const char* mark_;
  UINT answerWaitMs_;
  HWND window_ = nullptr;
};

// The panel's window takes the mark once it exists and gives it back before it goes.
void MarkRunningPanel(HWND window, const char* mark);
void UnmarkRunningPanel(HWND window, const char* mark);

// A request as the running panel reads it from WM_COPYDATA.
struct HandedRequest {
  PanelRequest request;
  char file[kStartFileCapacity];  // empty: no file
  const char* File() const { return file[0] != '\0' ? file : nullptr; }
};
// False when the data is no request of a start; a file name too long is cut, and then not found.
bool ReadHandedRequest(const COPYDATASTRUCT& data, HandedRequest* handed);
