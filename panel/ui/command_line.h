#pragma once
// What the panel was started with. Without arguments it is the panel as always; with a file name it
// opens with that file's settings; with /send (also -send, in any letter case) it restores the card
// without a window, from the stored settings and, when one is named, a file.
#include <cstddef>

constexpr size_t kStartFileCapacity = 260;

struct PanelStart {
  enum class Mode : unsigned char {
    Panel,
    Send,
    Usage,  // an unknown switch, or more than one file: the user is shown how to start the panel
  };
  Mode mode = Mode::Panel;
  char file[kStartFileCapacity] = {};  // empty: no file
};

// line: the command line as the system gives it, the program's own name first. Arguments are
// separated by blanks; double quotes group blanks into one argument and are dropped (a name with
// blanks comes quoted, as Explorer passes it; one without may come either way).
PanelStart ReadCommandLine(const char* line);
