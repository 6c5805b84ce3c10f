#include "panel/ui/tests_win32/test_support.h"

#include <commctrl.h>

HINSTANCE TestModule() { return GetModuleHandleA(nullptr); }

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  done = true;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool MemorySettingsStore::Read(const char* name, uint32_t* value) {
  auto found = values.find(name);
  if (found == values.end()) return false;
  *value = found->second;
  return true;
}

namespace {
MessageBoxCatcher* g_catcher = nullptr;
}

MessageBoxCatcher::MessageBoxCatcher() {
  g_catcher = this;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
  UnhookWindowsHookEx(hook_);
  g_catcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_catcher) {
    HWND box = reinterpret_cast<HWND>(wParam);
    HWND text = GetDlgItem(box, 0xFFFF);
    // A message box: its text is the static 0xFFFF, and it has an OK button (the panel, whose
    // unnamed labels are 0xFFFF too, has none).
    if (ClassOf(box) == "#32770" && text && GetDlgItem(box, IDOK)) {
      g_catcher->texts.push_back(TextOf(text));
      g_catcher->ownerVisible.push_back(IsWindowVisible(GetWindow(box, GW_OWNER)) != FALSE);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpMessages(HWND dialog) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
