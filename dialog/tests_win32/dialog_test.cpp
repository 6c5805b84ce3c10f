// The dialog layer: binding of the object to its window, one handler per message with the right
// result, the modal run (accelerators before dialog navigation, the ways the run ends, an owner
// kept from input while it runs), OK and Cancel of a dialog that has them, and a program window.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "dialog/dialog_win32.h"
#include "dialog/tests_win32/dialog_test_ids.h"

namespace {

// The test program's own module: it carries the test dialogs.
HINSTANCE Module() { return GetModuleHandleA(nullptr); }

// The windows sent WM_ICONERASEBKGND with a device context, while RecordIconErasing is hooked in.
std::vector<HWND> g_iconErased;

LRESULT CALLBACK RecordIconErasing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_ICONERASEBKGND && sent->wParam != 0) g_iconErased.push_back(sent->hwnd);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Command {
  int id;
  int code;
  HWND control;
  bool operator==(const Command&) const = default;
};

class RecordingDialog : public Dialog<RecordingDialog> {
 public:
  std::function<void(RecordingDialog&)> onInit;
  std::vector<Command> commands;
  std::vector<std::pair<HWND, int>> scrolls;
  std::vector<bool> endSessions;
  bool allowEndSession = true;
  HICON programIcon = nullptr;  // set: the dialog is a program window with this icon
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
  friend Dialog;
  bool OnInitDialog() {
    boundAtInit = Handle();
    if (programIcon) SetUpProgramWindow(programIcon);
    UseAccelerators(accelerators);
    if (onInit) onInit(*this);
    return true;
  }
  bool OnCommand(int id, int code, HWND control) {
    commands.push_back({id, code, control});
    if (id == IDCANCEL) End(IDCANCEL);
    return true;
  }
  bool OnHScroll(HWND control, int code) {
    scrolls.push_back({control, code});
    return false;
  }
  bool OnQueryEndSession() { return allowEndSession; }
  void OnEndSession(bool ending) { endSessions.push_back(ending); }
  bool OnAppMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_APP) End(static_cast<int>(wParam));
    if (message == WM_APP + 1) DestroyWindow(Handle());
    return true;
  }
};

class DialogLayer : public ::testing::Test {
 protected:
  RecordingDialog dialog;
};

TEST_F(DialogLayer, BindsTheObjectBeforeInitialisationAndRoutesEachMessage) {
  ASSERT_TRUE(dialog.Create(Module(), IDD_PROGRAM, nullptr));
  HWND window = dialog.Handle();
  EXPECT_EQ(dialog.boundAtInit, window);

  HWND button = dialog.Item(IDC_BUTTON);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0], (Command{IDC_BUTTON, BN_CLICKED, button}));

  HWND slider = dialog.Item(IDC_SLIDER);
  SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(slider));
  ASSERT_EQ(dialog.scrolls.size(), 1u);
  EXPECT_EQ(dialog.scrolls[0], std::make_pair(slider, static_cast<int>(SB_ENDSCROLL)));
}

TEST_F(DialogLayer, HandlerResultsReachTheSender) {
  dialog.programIcon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_TRUE(dialog.Create(Module(), IDD_PROGRAM, nullptr));
  HWND window = dialog.Handle();

  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_QUERYDRAGICON, 0, 0)), dialog.programIcon);
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  dialog.allowEndSession = false;
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), FALSE);
  SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(dialog.endSessions, (std::vector<bool>{true, false}));
}

TEST_F(DialogLayer, ModalRunEndsWithTheResultOfEnd) {
  dialog.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_APP, 42, 0); };
  EXPECT_EQ(dialog.RunModal(Module(), IDD_PROGRAM), 42);
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_TRUE(dialog.Ended());
}

TEST_F(DialogLayer, EscapeAndTheCloseBoxEndTheModalRun) {
  dialog.onInit = [](RecordingDialog& d) { PostMessageA(d.Item(IDC_BUTTON), WM_KEYDOWN, VK_ESCAPE, 0); };
  EXPECT_EQ(dialog.RunModal(Module(), IDD_PROGRAM), IDCANCEL);
  ASSERT_FALSE(dialog.commands.empty());
  EXPECT_EQ(dialog.commands.back().id, IDCANCEL);

  RecordingDialog closed;
  closed.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(closed.RunModal(Module(), IDD_PROGRAM), IDCANCEL);
}

TEST_F(DialogLayer, AcceleratorsComeBeforeDialogNavigation) {
  // Without a table the dialog navigation turns Enter into the default button's IDOK; with the
  // table (the panel's kind) it becomes command 32700 and nothing else.
  auto pressEnterThenEnd = [](RecordingDialog& d) {
    HWND edit = d.Item(IDC_EDIT);
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    PostMessageA(d.Handle(), WM_APP, 7, 0);
  };
  RecordingDialog plain;
  plain.onInit = pressEnterThenEnd;
  EXPECT_EQ(plain.RunModal(Module(), IDD_PROGRAM), 7);
  EXPECT_EQ(plain.EnterCommands(), (std::vector<Command>{{IDOK, BN_CLICKED, nullptr}}));

  dialog.accelerators = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_KEYS));
  dialog.onInit = pressEnterThenEnd;
  EXPECT_EQ(dialog.RunModal(Module(), IDD_PROGRAM), 7);
  EXPECT_EQ(dialog.EnterCommands(), (std::vector<Command>{{IDM_ENTER, 1 /* from an accelerator */, nullptr}}));
}

TEST_F(DialogLayer, QuitMessageOrOutsideDestructionEndTheRun) {
  dialog.onInit = [](RecordingDialog&) { PostQuitMessage(5); };
  EXPECT_EQ(dialog.RunModal(Module(), IDD_PROGRAM), IDCANCEL);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // handed on to the caller
  EXPECT_EQ(msg.wParam, 5u);

  RecordingDialog destroyed;
  destroyed.onInit = [](RecordingDialog& d) { PostMessageA(d.Handle(), WM_APP + 1, 0, 0); };
  destroyed.RunModal(Module(), IDD_PROGRAM);
  EXPECT_TRUE(destroyed.Ended());
  EXPECT_EQ(destroyed.Handle(), nullptr);
}

TEST_F(DialogLayer, MissingTemplateFailsTheRun) {
  EXPECT_EQ(dialog.RunModal(Module(), 4321), -1);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(DialogLayer, AProgramWindowsOneIconServesBothSizesAndIsDrawnOnlyWhileMinimised) {
  dialog.programIcon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_TRUE(dialog.Create(Module(), IDD_PROGRAM, nullptr));
  HWND window = dialog.Handle();
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), dialog.programIcon);

  // The icon's background is erased for each paint of the minimised window, and only then.
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordIconErasing, nullptr, GetCurrentThreadId());
  ShowWindow(window, SW_SHOW);
  SendMessageA(window, WM_PAINT, 0, 0);
  EXPECT_TRUE(g_iconErased.empty());
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(window));
  g_iconErased.clear();
  SendMessageA(window, WM_PAINT, 0, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_iconErased, std::vector<HWND>{window});
}

// A choice run over the program window: a list, OK and Cancel, with the layer's own handling of
// OK and Cancel.
class ChoiceDialog : public Dialog<ChoiceDialog> {
 public:
  explicit ChoiceDialog(HWND owner) : owner_(owner) {}
  // Runs with a key pressed on the focused control once the run has started; a run the key
  // does not end ends with kNotEnded.
  int RunPressing(WPARAM key) {
    key_ = key;
    return RunModal(Module(), IDD_CHOICE, owner_);
  }
  static constexpr int kNotEnded = -2;
  bool ownerEnabledWhileRunning = true;

 protected:
  friend Dialog;
  bool OnInitDialog() {
    PostMessageA(Handle(), WM_APP, 0, 0);
    return true;
  }
  bool OnAppMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_APP + 1) {
      End(kNotEnded);
      return true;
    }
    ownerEnabledWhileRunning = IsWindowEnabled(owner_) != FALSE;
    PostMessageA(GetFocus(), WM_KEYDOWN, key_, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key_, 0xC0000001);
    PostMessageA(Handle(), WM_APP + 1, 0, 0);
    return true;
  }

 private:
  HWND owner_;
  WPARAM key_ = 0;
};

TEST_F(DialogLayer, AnOwnedChoiceKeepsItsOwnerFromInputAndEndsByOkOrCancel) {
  ASSERT_TRUE(dialog.Create(Module(), IDD_PROGRAM, nullptr));
  HWND owner = dialog.Handle();
  ShowWindow(owner, SW_SHOW);

  // Enter presses the default OK.
  ChoiceDialog choice(owner);
  EXPECT_EQ(choice.RunPressing(VK_RETURN), IDOK);
  EXPECT_FALSE(choice.ownerEnabledWhileRunning);
  EXPECT_TRUE(IsWindowEnabled(owner));
  // Enabled before the dialog's window went, the owner is where the activation returns.
  EXPECT_EQ(GetActiveWindow(), owner);

  // Escape is Cancel; an owner that was disabled before the run stays disabled after it.
  EnableWindow(owner, FALSE);
  ChoiceDialog overDisabled(owner);
  EXPECT_EQ(overDisabled.RunPressing(VK_ESCAPE), IDCANCEL);
  EXPECT_FALSE(IsWindowEnabled(owner));
}

}  // namespace
