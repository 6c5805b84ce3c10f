// The command line: a file to open, /send with or without one, and what is shown the usage.
#include "panel/ui/command_line.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CommandLine, NamesTheModeAndTheFile) {
  using Mode = PanelStart::Mode;
  const struct {
    const char* line;
    Mode mode;
    const char* file;
  } cases[] = {
      {"TAMBREL.EXE", Mode::Panel, ""},
      {"\"C:\\Program Files\\Tambrel\\Tambrel.exe\"  ", Mode::Panel, ""},
      {"TAMBREL.EXE a.mid", Mode::Panel, "a.mid"},
      {"\"C:\\T\\TAMBREL.EXE\" \"C:\\My Files\\a b.mid\"", Mode::Panel, "C:\\My Files\\a b.mid"},
      {"TAMBREL.EXE\tC:\\PANEL\\STATE.MID  ", Mode::Panel, "C:\\PANEL\\STATE.MID"},
      {"TAMBREL.EXE C:\\My Files\\a.mid", Mode::Usage, ""},
      {"TAMBREL.EXE /send", Mode::Send, ""},
      {"TAMBREL.EXE -SEND", Mode::Send, ""},
      {"TAMBREL.EXE /Send state.syx", Mode::Send, "state.syx"},
      {"TAMBREL.EXE \"state.syx\" /send", Mode::Send, "state.syx"},
      {"TAMBREL.EXE /send \"C:\\My Files\\a.mid\"", Mode::Send, "C:\\My Files\\a.mid"},
      {"TAMBREL.EXE a.mid b.mid", Mode::Usage, ""},
      {"TAMBREL.EXE /send a.mid b.mid", Mode::Usage, ""},
      {"TAMBREL.EXE /sendx", Mode::Usage, ""},
      {"TAMBREL.EXE /s", Mode::Usage, ""},
      {"TAMBREL.EXE /?", Mode::Usage, ""},
      {"TAMBREL.EXE /send /send", Mode::Usage, ""},
      {"TAMBREL.EXE a.mid /x", Mode::Usage, ""},
  };
  for (const auto& c : cases) {
    const PanelStart start = ReadCommandLine(c.line);
    EXPECT_EQ(start.mode, c.mode) << c.line;
    EXPECT_STREQ(start.file, c.file) << c.line;
  }
}

TEST(CommandLine, ANameLongerThanAPathIsCut) {
  char line[700] = "TAMBREL.EXE ";
  for (int i = 0; i < 300; ++i) std::strcat(line, "a");
  const PanelStart start = ReadCommandLine(line);
  EXPECT_EQ(start.mode, PanelStart::Mode::Panel);
  EXPECT_EQ(std::strlen(start.file), kStartFileCapacity - 1);
}
