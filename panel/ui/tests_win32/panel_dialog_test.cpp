// PanelDialog on a real window with the software MPU-401 interface as the card: the controls after
// the start-up push (through the Win32 control-surface adapter), the events the dialog forwards,
// saving when the session ends, and the one-time report of an unreachable interface.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "panel/device/mpu401_model.h"
#include "panel/ui/panel_controls.h"
#include "panel/files/settings_file_win32.h"
#include "panel/ui/panel_dialog_win32.h"
#include "panel/ui/tests_win32/test_support.h"

namespace {

class PanelDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureCommonControls(); }
  void TearDown() override {
    dialog.reset();
    outputs.reset();
    run.reset();
    PumpMessages(nullptr);
  }

  // As the program opens the panel: the stored settings, the outputs at their port, the window.
  void Open() {
    run = std::make_unique<PanelRun>(store, files, controls, notices);
    run->LoadStored();
    outputs = std::make_unique<ProgramOutputs>(model, clock, run->PortBase(), "");
    run->Connect(outputs->Chosen());
    dialog = std::make_unique<PanelDialog>(TestModule(), *run, controls, notices, *outputs, nullptr, "TambrelTest");
    ASSERT_TRUE(dialog->Create(TestModule(), IDD_PANEL, nullptr));
    ShowWindow(dialog->Handle(), SW_SHOW);
    PumpMessages(dialog->Handle());
  }
  HWND Item(int id) { return dialog->Item(id); }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(Item(id), message, wParam, lParam);
  }
  // What a finished drag reports: the thumb's final position, then the end of the scroll.
  void EndScroll(int id, int position) {
    Send(id, TBM_SETPOS, TRUE, position);
    Scroll(id, SB_THUMBPOSITION);
    Scroll(id, SB_ENDSCROLL);
  }
  void Scroll(int id, int code) {
    SendMessageA(dialog->Handle(), WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(Item(id)));
  }
  void Click(int id) {
    Send(id, BM_CLICK);
    PumpMessages(dialog->Handle());
  }
  std::vector<uint8_t> LastMessage() {
    uint8_t bytes[64];
    size_t n = model.Message(model.MessageCount() - 1, bytes, sizeof bytes);
    return std::vector<uint8_t>(bytes, bytes + n);
  }
  bool Visible(int id) { return IsWindowVisible(Item(id)) != FALSE; }

  Mpu401Model model;
  SteppingClock clock{25};
  MemorySettingsStore store;
  SystemFileReader files;
  Win32ControlSurface controls;
  BoxNotices notices{TestModule()};
  std::unique_ptr<PanelRun> run;
  std::unique_ptr<ProgramOutputs> outputs;  // the card's ports chosen
  std::unique_ptr<PanelDialog> dialog;
};

TEST_F(PanelDialogTest, StartupPushSetsEveryControlAndSends35Messages) {
  Open();
  EXPECT_EQ(model.MessageCount(), 35u);

  ASSERT_EQ(Send(IDC_REVERB_TYPE, CB_GETCOUNT), 8);
  const char* names[] = {"Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"};
  for (int i = 0; i < 8; ++i) {
    char text[32] = {};
    Send(IDC_REVERB_TYPE, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, names[i]);
  }
  EXPECT_EQ(Send(IDC_REVERB_TYPE, CB_GETCURSEL), 4);

  struct Slider {
    int id, high, position;
  };
  const Slider sliders[] = {{1000, 127, 127}, {1002, 1999, 1000}, {2018, 127, 127}, {2019, 127, 127},
                            {2022, 16383, 8192}, {2025, 127, 100}, {2026, 127, 0},  {3101, 127, 64},
                            {3106, 127, 19},  {3108, 127, 3},     {3109, 127, 19}};
  for (const Slider& slider : sliders) {
    EXPECT_EQ(Send(slider.id, TBM_GETRANGEMIN), 0) << slider.id;
    EXPECT_EQ(Send(slider.id, TBM_GETRANGEMAX), slider.high) << slider.id;
    EXPECT_EQ(Send(slider.id, TBM_GETPOS), slider.position) << slider.id;
  }
  EXPECT_EQ(Send(1002, TBM_GETTIC, 0), 1000);
  EXPECT_EQ(Send(2022, TBM_GETTIC, 0), 8192);

  EXPECT_EQ(Send(1004, UDM_GETRANGE), MAKELONG(24, -24));
  EXPECT_EQ(Send(2021, UDM_GETRANGE), MAKELONG(63, -64));
  EXPECT_EQ(Send(1006, EM_GETLIMITTEXT), 3);
  EXPECT_EQ(Send(2023, EM_GETLIMITTEXT), 3);
  EXPECT_EQ(TextOf(Item(1006)), "0");
  EXPECT_EQ(TextOf(Item(2023)), "-64");
  EXPECT_EQ(TextOf(Item(IDC_DIGITAL_TARGET)), "Stereo");
  for (int id = IDC_CHANNEL_FIRST; id <= IDC_CHANNEL_LAST; ++id) EXPECT_EQ(Send(id, BM_GETCHECK), BST_CHECKED);

  HMENU menu = GetSystemMenu(dialog->Handle(), FALSE);
  EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  // The panel's own items come first, then a separator and the standard items.
  char item[64] = {};
  GetMenuStringA(menu, 0, item, sizeof item, MF_BYPOSITION);
  EXPECT_STREQ(item, "&Load settings...");
  EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_LOAD_SETTINGS));
  GetMenuStringA(menu, 1, item, sizeof item, MF_BYPOSITION);
  EXPECT_STREQ(item, "MIDI &output...");
  EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_MIDI_OUTPUT));
  GetMenuStringA(menu, 2, item, sizeof item, MF_BYPOSITION);
  EXPECT_STREQ(item, "Restore the card at &Windows start");
  EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(IDM_RESTORE_AT_START));
  EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_SEPARATOR);

  HWND window = dialog->Handle();
  HICON big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  EXPECT_NE(big, nullptr);
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_QUERYDRAGICON, 0, 0)), big);
}

TEST_F(PanelDialogTest, ControlEventsReachTheCard) {
  Open();
  size_t before = model.MessageCount();

  // A slider sends on the end of its scroll only.
  Send(IDC_REVERB_LEVEL, TBM_SETPOS, TRUE, 90);
  Scroll(IDC_REVERB_LEVEL, SB_THUMBTRACK);
  Scroll(IDC_REVERB_LEVEL, SB_THUMBPOSITION);
  EXPECT_EQ(model.MessageCount(), before);
  Scroll(IDC_REVERB_LEVEL, SB_ENDSCROLL);
  ASSERT_EQ(model.MessageCount(), before + 1);
  EXPECT_EQ(LastMessage(), (std::vector<uint8_t>{0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x5A, 0x25, 0xF7}));

  // A channel box toggles its part.
  Click(IDC_CHANNEL_FIRST + 2);
  EXPECT_EQ(Send(IDC_CHANNEL_FIRST + 2, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(run->Settings().Mute, 0xFFFB);
  EXPECT_EQ(model.MessageCount(), before + 2);

  // The target button cycles and names the new target; it sends nothing.
  Click(IDC_DIGITAL_TARGET);
  EXPECT_EQ(TextOf(Item(IDC_DIGITAL_TARGET)), "Le&ft");
  EXPECT_EQ(model.MessageCount(), before + 2);

  // Choosing a delay type swaps the decay slider for time and repeat.
  Send(IDC_REVERB_TYPE, CB_SETCURSEL, 7);
  SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDC_REVERB_TYPE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(IDC_REVERB_TYPE)));
  EXPECT_EQ(run->Settings().EffectsBlock[kReverbType], 7);
  EXPECT_TRUE(Visible(IDC_DELAY_TIME));
  EXPECT_FALSE(Visible(IDC_REVERB_DECAY));
}

TEST_F(PanelDialogTest, EnterAppliesTheEditedValueAndKeepsThePanelOpen) {
  Open();
  HWND edit = Item(IDC_MASTER_TRANSPOSE);
  SetFocus(edit);
  SetWindowTextA(edit, "7");
  size_t before = model.MessageCount();
  SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDM_ENTER, 1), 0);
  PumpMessages(dialog->Handle());
  EXPECT_EQ(run->Settings().MTrn, 71);
  EXPECT_EQ(model.MessageCount(), before + 1);

  // Only Escape (IDCANCEL) and the close box end the panel; an IDOK or an Alt key does nothing.
  for (int command : {IDOK, IDM_ALT_V, IDM_ALT_U, IDM_ALT_T}) {
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(command, 1), 0);
  }
  EXPECT_FALSE(dialog->Ended());
  EXPECT_EQ(model.MessageCount(), before + 1);
  SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(dialog->Ended());
}

TEST_F(PanelDialogTest, PanicResetsTheInterface) {
  Open();
  model.ClearEvents();
  Click(IDC_PANIC);
  bool wrotePanicByte = false, wroteReset = false;
  for (size_t i = 0; i < model.EventCount(); ++i) {
    const PortEvent& event = model.Event(i);
    if (event.kind != PortEvent::Kind::Write) continue;
    if (event.port == 0x333 && event.value == 0x80) wrotePanicByte = true;
    if (event.port == 0x331 && event.value == 0xFF) wroteReset = wrotePanicByte;
  }
  EXPECT_TRUE(wrotePanicByte);
  EXPECT_TRUE(wroteReset);
}

// Files dropped on the panel: the first one loads; one that holds nothing of the panel is told, by
// its name, and changes nothing.
TEST_F(PanelDialogTest, ADroppedFileLoadsTheFirstOneAndABadOneIsTold) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string good = std::string(folder) + "dropped.syx";
  const std::string other = std::string(folder) + "other.syx";
  const uint8_t volume[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x14, 0xF7};
  const uint8_t foreign[] = {0xF0, 0x43, 0x10, 0x4C, 0xF7};
  for (const auto& [path, bytes, size] : {std::make_tuple(good, volume, sizeof volume),
                                          std::make_tuple(other, foreign, sizeof foreign)}) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
  }
  // What the shell hands a window: the dropped names one after the other, a second zero at the end.
  auto drop = [](std::initializer_list<std::string> names) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) size += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(files + 1);
    for (const std::string& name : names) at += lstrlenA(lstrcpyA(at, name.c_str())) + 1;
    GlobalUnlock(memory);
    return reinterpret_cast<WPARAM>(memory);
  };
  Open();
  model.ClearEvents();
  SendMessageA(dialog->Handle(), WM_DROPFILES, drop({good, other}), 0);
  EXPECT_EQ(model.MessageCount(), 35u);
  EXPECT_EQ(Send(IDC_MASTER_VOLUME, TBM_GETPOS), 20);

  model.ClearEvents();
  MessageBoxCatcher boxes;
  SendMessageA(dialog->Handle(), WM_DROPFILES, drop({other, good}), 0);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find(other), std::string::npos) << boxes.texts[0];
  EXPECT_NE(boxes.texts[0].find("none of the panel's settings"), std::string::npos) << boxes.texts[0];
  EXPECT_EQ(model.MessageCount(), 0u);
  EXPECT_EQ(run->Settings().MVol, 20);
  DeleteFileA(good.c_str());
  DeleteFileA(other.c_str());
}

TEST_F(PanelDialogTest, EndingTheSessionSavesTheSettings) {
  Open();
  EndScroll(IDC_MASTER_VOLUME, 33);
  HWND window = dialog->Handle();
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(window, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(store.writes, 0);
  SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(store.writes, 23);
  EXPECT_EQ(store.values["MVol"], 33u);
}

TEST_F(PanelDialogTest, AnAbsentInterfaceIsReportedOncePerFault) {
  MessageBoxCatcher boxes;
  model.SetAbsent(true);
  Open();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], "The MIDI interface at port 330h does not respond.");
  EXPECT_TRUE(boxes.ownerVisible[0]);  // the report comes once the panel is on the screen

  EndScroll(IDC_MASTER_VOLUME, 20);
  PumpMessages(dialog->Handle());
  EXPECT_EQ(boxes.texts.size(), 1u);

  // Panic finds the interface again and sending resumes; a new fault is a new report.
  model.SetAbsent(false);
  Click(IDC_PANIC);
  size_t before = model.MessageCount();
  EndScroll(IDC_MASTER_VOLUME, 21);
  EXPECT_EQ(model.MessageCount(), before + 1);
  EXPECT_EQ(boxes.texts.size(), 1u);

  model.SetAbsent(true);
  EndScroll(IDC_MASTER_VOLUME, 22);
  PumpMessages(dialog->Handle());
  EXPECT_EQ(boxes.texts.size(), 2u);
}

TEST_F(PanelDialogTest, RefusedPortAccessIsReportedWithTheLowPortBits) {
  MessageBoxCatcher boxes;
  model.SetRefused(true);
  store.values["Port"] = 0x10330;
  Open();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], "This system does not allow direct access to the MIDI interface at port 330h.");
}

}  // namespace
