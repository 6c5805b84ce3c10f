// Our dialog class: binding of the object to its window, one handler per message with the right
// result, and the modal run (accelerators before dialog navigation, the ways the run ends).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "panel/ui/dialog_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/tests_win32/test_support.h"

namespace {

struct Command {
  int id;
  int code;
  HWND control;
  bool operator==(const Command&) const = default;
};

class RecordingDialog : public Dialog {
 public:
  std::function<void(RecordingDialog&)> onInit;
  std::vector<Command> commands;
  std::vector<std::pair<HWND, int>> scrolls;
  std::vector<bool> endSessions;
  bool allowEndSession = true;
  HICON dragIcon = nullptr;
  HACCEL accelerators = nullptr;
  HWND boundAtInit = nullptr;

  // The commands that the Enter key can become.
  std::vector<Command> EnterCommands() const {
    std::vector<Command> found;
    for (const Command& command : commands) {
      if (command.id == IDOK || command.id == IDM_ENTER) found.push_back(command);
    }
    return found;
  }

 protected:
  bool OnInitDialog() override {
    boundAtInit = Handle();
    if (onInit) onInit(*this);
    return true;
  }
  bool OnCommand(int id, int code, HWND control) override {
    commands.push_back({id, code, control});
    if (id == IDCANCEL) End(IDCANCEL);
    return true;
  }
  bool OnHScroll(HWND control, int code) override {
    scrolls.push_back({control, code});
    return false;
  }
  HICON OnQueryDragIcon() override { return dragIcon; }
  bool OnQueryEndSession() override { return allowEndSession; }
  void OnEndSession(bool ending) override { endSessions.push_back(ending); }
  bool OnAppMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_APP) End(static_cast<int>(wParam));
    if (message == WM_APP + 1) DestroyWindow(Handle());
    return true;
  }
  HACCEL Accelerators() const override { return accelerators; }
};

class DialogLayer : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }
  RecordingDialog dialog;
};

TEST_F(DialogLayer, BindsTheObjectBeforeInitialisationAndRoutesEachMessage) {
  ASSERT_TRUE(dialog.Create(TestModule(), IDD_PANEL, nullptr));
  HWND window = dialog.Handle();
  EXPECT_EQ(dialog.boundAtInit, window);

  HWND button = dialog.Item(IDC_SAVE_MIDI);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_SAVE_MIDI, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0], (Command{IDC_SAVE_MIDI, BN_CLICKED, button}));

  HWND slider = dialog.Item(IDC_REVERB_LEVEL);
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(slider));
  ASSERT_EQ(dialog.scrolls.size(), 1u);
  EXPECT_EQ(dialog.scrolls[0], std::make_pair(slider, static_cast<int>(SB_ENDSCROLL)));
}

TEST_F(DialogLayer, HandlerResultsReachTheSender) {
  dialog.dragIcon = LoadIconA(TestModule(), MAKEINTRESOURCEA(IDI_PANEL));
  ASSERT_TRUE(dialog.Create(TestModule(), IDD_PANEL, nullptr));
  HWND window = dialog.Handle();

  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_QUERYDRAGICON, 0, 0)), dialog.dragIcon);
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  dialog.allowEndSession = false;
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
  SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(dialog.endSessions, (std::vector<bool>{true, false}));
}

TEST_F(DialogLayer, ModalRunEndsWithTheResultOfEnd) {
  dialog.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_APP, 42, 0); };
  EXPECT_EQ(dialog.RunModal(TestModule(), IDD_PANEL), 42);
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_TRUE(dialog.Ended());
}

TEST_F(DialogLayer, EscapeAndTheCloseBoxEndTheModalRun) {
  dialog.onInit = [](RecordingDialog& d) { PostMessageA(d.Item(IDC_MASTER_VOLUME), WM_KEYDOWN, VK_ESCAPE, 0); };
  EXPECT_EQ(dialog.RunModal(TestModule(), IDD_PANEL), IDCANCEL);
  ASSERT_FALSE(dialog.commands.empty());
  EXPECT_EQ(dialog.commands.back().id, IDCANCEL);

  RecordingDialog closed;
  closed.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(closed.RunModal(TestModule(), IDD_PANEL), IDCANCEL);
}

TEST_F(DialogLayer, AcceleratorsComeBeforeDialogNavigation) {
  // Without a table the dialog navigation turns Enter into the default button's IDOK; with the
  // panel's table it becomes command 32700 and nothing else.
  auto pressEnterThenEnd = [](RecordingDialog& d) {
    HWND edit = d.Item(IDC_MASTER_TRANSPOSE);
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    PostMessageA(d.Handle(), WM_APP, 7, 0);
  };
  RecordingDialog plain;
  plain.onInit = pressEnterThenEnd;
  EXPECT_EQ(plain.RunModal(TestModule(), IDD_PANEL), 7);
  EXPECT_EQ(plain.EnterCommands(), (std::vector<Command>{{IDOK, BN_CLICKED, nullptr}}));

  dialog.accelerators = LoadAcceleratorsA(TestModule(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  dialog.onInit = pressEnterThenEnd;
  EXPECT_EQ(dialog.RunModal(TestModule(), IDD_PANEL), 7);
  EXPECT_EQ(dialog.EnterCommands(), (std::vector<Command>{{IDM_ENTER, 1 /* from an accelerator */, nullptr}}));
}

TEST_F(DialogLayer, QuitMessageOrOutsideDestructionEndTheRun) {
  dialog.onInit = [](RecordingDialog&) { PostQuitMessage(5); };
  EXPECT_EQ(dialog.RunModal(TestModule(), IDD_PANEL), IDCANCEL);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // handed on to the caller
  EXPECT_EQ(msg.wParam, 5u);

  RecordingDialog destroyed;
  destroyed.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_APP + 1, 0, 0); };
  destroyed.RunModal(TestModule(), IDD_PANEL);
  EXPECT_TRUE(destroyed.Ended());
  EXPECT_EQ(destroyed.Handle(), nullptr);
}

TEST_F(DialogLayer, MissingTemplateFailsTheRun) {
  EXPECT_EQ(dialog.RunModal(TestModule(), 4321), -1);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

}  // namespace
