// The adapter between a start of the program and its running panel, on real windows: stand-in
// panels that read what they are handed, and windows of other programs with the panel's caption.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "panel/ui/running_panel_win32.h"

namespace {

constexpr char kMark[] = "Tambrel test panel";
std::string g_handedFile;

// A panel's window as a start sees it: it answers a request with ten times its number.
LRESULT CALLBACK StandInPanel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HandedRequest handed;
  if (message != WM_COPYDATA || !ReadHandedRequest(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), &handed)) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  g_handedFile = handed.file;
  return static_cast<int>(handed.request) * 10;
}

HWND CaptionedTambrel(const char* className, const char* mark) {
  HWND window = CreateWindowExA(0, className, "Tambrel", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (mark != nullptr) MarkRunningPanel(window, mark);
  return window;
}

TEST(RunningPanelWin32, FindsOnlyThisProgramsPanelHandsItARequestAndGivesUpOnOneThatHangs) {
  WNDCLASSA standIn = {0, StandInPanel, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "StandIn"};
  ASSERT_NE(RegisterClassA(&standIn), 0);
  RunningPanelWin32 starting(kMark, 300);
  // Another program's dialog with the panel's caption, and the other program's panel.
  CaptionedTambrel("#32770", nullptr);
  CaptionedTambrel("StandIn", "TambrelSim panel");
  EXPECT_FALSE(starting.Find());

  // A file named relative to the starting program's folder arrives by its full path.
  HWND panel = CaptionedTambrel("StandIn", kMark);
  ASSERT_TRUE(starting.Find());
  EXPECT_EQ(starting.HandOver(PanelRequest::Load, "night.syx"), 20);
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  EXPECT_EQ(g_handedFile, std::string(folder) + (folder[length - 1] == '\\' ? "" : "\\") + "night.syx");
  ShowWindow(panel, SW_MINIMIZE);
  starting.BringToFront();
  EXPECT_FALSE(IsIconic(panel)) << "a minimised panel is restored";
  UnmarkRunningPanel(panel, kMark);
  EXPECT_FALSE(starting.Find());

  // A panel whose thread takes no messages: no answer, within the bound.
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr), release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread hung([&] {
    CaptionedTambrel("StandIn", kMark);
    SetEvent(ready);
    WaitForSingleObject(release, INFINITE);
  });
  WaitForSingleObject(ready, INFINITE);
  ASSERT_TRUE(starting.Find());
  EXPECT_EQ(starting.HandOver(PanelRequest::Front, nullptr), RunningPanel::kNoAnswer);
  SetEvent(release);
  hung.join();
}

}  // namespace
