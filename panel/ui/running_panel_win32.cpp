#include "panel/ui/running_panel_win32.h"

bool RunningPanelWin32::Find() {
  // Every top-level window, whatever its caption or class: only the mark makes one a panel.
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, nullptr, nullptr)) != nullptr) {
    if (GetPropA(window, mark_) != nullptr) {
      window_ = window;
      return true;
    }
  }
  return false;
}

int RunningPanelWin32::HandOver(PanelRequest request, const char* file) {
  COPYDATASTRUCT data = {static_cast<ULONG_PTR>(request), 0, nullptr};
  char path[kStartFileCapacity];
  if (file != nullptr) {
    const DWORD length = GetFullPathNameA(file, sizeof path, path, nullptr);
    const char* name = length > 0 && length < sizeof path ? path : file;
    DWORD size = 1;
    while (name[size - 1] != '\0') ++size;
    data.cbData = size;
    data.lpData = const_cast<char*>(name);
  }
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, answerWaitMs_,
                          &answer) == 0) {
    return kNoAnswer;
  }
  return static_cast<int>(answer);
}

void RunningPanelWin32::BringToFront() {
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  SetForegroundWindow(window_);
}

void MarkRunningPanel(HWND window, const char* mark) { SetPropA(window, mark, window); }

void UnmarkRunningPanel(HWND window, const char* mark) { RemovePropA(window, mark); }

bool ReadHandedRequest(const COPYDATASTRUCT& data, HandedRequest* handed) {
  constexpr auto first = static_cast<ULONG_PTR>(PanelRequest::Front), last = static_cast<ULONG_PTR>(PanelRequest::Send);
  if (data.dwData < first || data.dwData > last) return false;
  handed->request = static_cast<PanelRequest>(data.dwData);
  const char* text = static_cast<const char*>(data.lpData);
  const size_t limit = data.cbData < sizeof handed->file ? data.cbData : sizeof handed->file - 1;
  size_t length = 0;
  for (; text != nullptr && length < limit && text[length] != '\0'; ++length) handed->file[length] = text[length];
  handed->file[length] = '\0';
  return true;
}
