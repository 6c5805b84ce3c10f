#pragma once
// What the panel was started with. Without arguments it is the panel as always; with a file name it
// opens with that file's settings; with /send (also -send, in any letter case) it restores the card
// without a window, from the stored settings and, when one is named, a file.
#include <cstddef>

constexpr size_t kStartFileCapacity = 260;
// The switch that restores the card without a window, after its '/' or '-'.
inline constexpr char kSendSwitch[] = "send";

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

// Copies the argument at the start of p (blanks before it skipped, quotes dropped) into out; returns
// where the line goes on, or null when no argument is left. An argument longer than out is cut,
// which no file name survives.
const char* NextArgument(const char* p, char* out, size_t capacity);
// Whether an argument is /send or -send, in any letter case.
bool IsSendSwitch(const char* argument);
