// The panel's resources as the program loads them: dialog 102 and its controls, accelerator table
// 129, the strings, the icon and the version record.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialog/dialog_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/tests_win32/test_support.h"

namespace {

class BareDialog : public Dialog<BareDialog> {};

class PanelTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureCommonControls();
    ASSERT_TRUE(dialog.Create(TestModule(), IDD_PANEL, nullptr));
  }
  LONG Style(int id) { return GetWindowLongA(dialog.Item(id), GWL_STYLE); }

  BareDialog dialog;
};

TEST_F(PanelTemplate, WindowHasCaptionFontSizeAndStyles) {
  HWND window = dialog.Handle();
  EXPECT_EQ(TextOf(window), "Tambrel");
  LONG style = GetWindowLongA(window, GWL_STYLE);
  const DWORD required = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
  EXPECT_EQ(static_cast<DWORD>(style) & required, required);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

  RECT expected = {0, 0, 288, 217};
  MapDialogRect(window, &expected);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, expected.right);
  EXPECT_EQ(client.bottom, expected.bottom);
}

TEST_F(PanelTemplate, EveryControlHasItsClassAndText) {
  struct Expected {
    int id;
    const char* className;
    const char* text;
  };
  const Expected controls[] = {
      {1000, TRACKBAR_CLASSA, ""},         {1002, TRACKBAR_CLASSA, ""},
      {1006, "Edit", nullptr},             {1004, UPDOWN_CLASSA, nullptr},
      {2120, "Button", "Panic"},           {3100, "ComboBox", nullptr},
      {2149, "Button", ""},                {2023, "Edit", nullptr},  // 2149: the panel names the target
      {2021, UPDOWN_CLASSA, nullptr},      {1040, "Button", "Save &MIDI"},
      {1010, "Button", "Channel Mute"},    {1015, "Button", "Digital Audio"},
      {1001, "Static", "&Volume:"},        {1003, "Static", "Tu&ning:"},
      {1005, "Static", "&Transpose:"},     {2150, "Static", "&Reverb:"},
      {2151, "Static", "Vo&lume:"},        {2152, "Static", "T&uning:"},
      {2153, "Static", "Trans&pose:"},     {2155, "Static", "&Chorus:"},
      {2156, "Static", "Brightness:"},     {3150, "Static", "Decay:"},
      {3151, "Static", "Repeat:"},         {3152, "Static", "Time:"},
  };
  for (const Expected& control : controls) {
    HWND item = dialog.Item(control.id);
    ASSERT_NE(item, nullptr) << control.id;
    EXPECT_STRCASEEQ(ClassOf(item).c_str(), control.className) << control.id;
    if (control.text) {
      EXPECT_EQ(TextOf(item), control.text) << control.id;
    }
  }
  for (int id : {2018, 2019, 2022, 2025, 2026, 3101, 3102, 3103, 3104, 3105, 3106, 3107, 3108, 3109}) {
    ASSERT_NE(dialog.Item(id), nullptr) << id;
    EXPECT_STRCASEEQ(ClassOf(dialog.Item(id)).c_str(), TRACKBAR_CLASSA) << id;
  }
  for (int n = 0; n < 16; ++n) {
    HWND box = dialog.Item(IDC_CHANNEL_FIRST + n);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(box), std::to_string(n + 1));
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  }

  // The labels and group boxes without an identifier.
  std::multiset<std::string> texts;
  for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF) texts.insert(TextOf(child));
  }
  EXPECT_EQ(texts, (std::multiset<std::string>{"Reverb/Delay", "Chorus", "Type:", "Level:", "Level:",
                                               "Feedback:", "Delay:", "Rate:", "Depth:"}));
}

TEST_F(PanelTemplate, TabStopsFollowTheTemplateOrder) {
  std::vector<int> tabStops;
  for (HWND child = GetWindow(dialog.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) tabStops.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(tabStops, (std::vector<int>{1000, 1002, 1006, 1024, 2120, 3101, 3102, 3100, 3103, 3104, 3105, 3106,
                                        3107, 3108, 3109, 2022, 2018, 2025, 2026, 2019, 2023, 2149, 1040}));
  // The sixteen boxes form one group that starts at channel 1 and ends before "Panic".
  EXPECT_TRUE(Style(1024) & WS_GROUP);
  for (int id = 1025; id <= 1039; ++id) EXPECT_FALSE(Style(id) & WS_GROUP) << id;
  EXPECT_TRUE(Style(2120) & WS_GROUP);
}

TEST_F(PanelTemplate, ControlStylesAndStartVisibility) {
  for (int id : {3103, 3104, 3151, 3152}) EXPECT_FALSE(Style(id) & WS_VISIBLE) << id;
  for (int id : {3102, 3150, 3101, 3100, 1000, 2019}) EXPECT_TRUE(Style(id) & WS_VISIBLE) << id;

  EXPECT_EQ(Style(3100) & 3, CBS_DROPDOWN);
  EXPECT_FALSE(Style(3100) & CBS_SORT);

  const LONG spin = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;
  for (int id : {1004, 2021}) EXPECT_EQ(Style(id) & spin, spin) << id;
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(dialog.Item(1004), UDM_GETBUDDY, 0, 0)), dialog.Item(1006));
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(dialog.Item(2021), UDM_GETBUDDY, 0, 0)), dialog.Item(2023));

  // Tick marks only on the two tune sliders (their centre tick is set at start-up).
  for (int id : {1000, 2018, 2019, 2025, 2026, 3101, 3105, 3109}) {
    EXPECT_TRUE(Style(id) & TBS_NOTICKS) << id;
  }
  for (int id : {1002, 2022}) EXPECT_FALSE(Style(id) & (TBS_NOTICKS | TBS_AUTOTICKS)) << id;
  EXPECT_FALSE(Style(1000) & TBS_VERT);
}

TEST(PanelResources, AcceleratorTableBindsAltKeysAndEnter) {
  HACCEL table = LoadAcceleratorsA(TestModule(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8];
  int count = CopyAcceleratorTableA(table, entries, 8);
  ASSERT_EQ(count, 4);
  std::set<std::tuple<int, int, int>> found;
  for (int i = 0; i < count; ++i) {
    found.insert({entries[i].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), entries[i].key, entries[i].cmd});
  }
  std::set<std::tuple<int, int, int>> expected = {
      {FVIRTKEY | FALT, 'T', 2002}, {FVIRTKEY | FALT, 'U', 2001},
      {FVIRTKEY | FALT, 'V', 2000}, {FVIRTKEY, VK_RETURN, 32700}};
  EXPECT_EQ(found, expected);
}

TEST(PanelResources, StringTable) {
  const char* expected[] = {
      "Save &MIDI",
      "Saving...",
      "Can't create the MIDI file!",
      "Error writing to the MIDI file!",
      "Can't allocate memory!",
      "The MIDI interface at port %Xh does not respond.",
      "This system does not allow direct access to the MIDI interface at port %Xh.",
      "This system lets programs reach the MIDI interface at port %Xh only through a port-driver library. "
      "Put %s into the folder of Tambrel.exe (%s) or into the Windows system folder, and start the panel again.",
      "The port-driver library was found, but its driver is not running, so the MIDI interface at port %Xh "
      "cannot be reached. An administrator has to install the driver once.",
  };
  for (int id = 175; id <= 183; ++id) {
    char text[256] = {};
    ASSERT_GT(LoadStringA(TestModule(), id, text, sizeof text), 0) << id;
    EXPECT_STREQ(text, expected[id - 175]) << id;
  }
}

TEST(PanelResources, IconHoldsA32AndA16PixelImageOf16Colours) {
  HRSRC found = FindResourceA(TestModule(), MAKEINTRESOURCEA(IDI_PANEL), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  ASSERT_NE(found, nullptr);
  const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(TestModule(), found)));
  ASSERT_NE(group, nullptr);
  int count = group[4] | (group[5] << 8);
  ASSERT_EQ(count, 2);
  std::set<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;  // width, height, colours, reserved, planes, bits, ...
    EXPECT_EQ(entry[0], entry[1]);
    EXPECT_EQ(entry[2], 16);
    EXPECT_EQ(entry[6] | (entry[7] << 8), 4);
    sizes.insert(entry[0]);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32}));
  EXPECT_NE(LoadImageA(TestModule(), MAKEINTRESOURCEA(IDI_PANEL), IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST(PanelResources, VersionRecord) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010004u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000002u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010004u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);

  const std::pair<const char*, const char*> strings[] = {
      {"CompanyName", ""},          {"FileDescription", "Tambrel Panel"}, {"FileVersion", "1, 4, 0, 2"},
      {"InternalName", "TAMBREL"},  {"OriginalFilename", "TAMBREL.EXE"},  {"ProductName", "Tambrel Panel"},
      {"ProductVersion", "1, 4, 0, 2"},
  };
  for (const auto& [name, value] : strings) {
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << name;
    EXPECT_STREQ(text, value) << name;
  }
}

}  // namespace
