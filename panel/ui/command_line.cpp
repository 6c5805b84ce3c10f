#include "panel/ui/command_line.h"

namespace {

constexpr char kSendSwitch[] = "send";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Copies the next argument (quotes dropped) into out; returns where the line goes on, or null
// when no argument is left. An argument longer than out is cut, which no file name survives.
const char* NextArgument(const char* p, char* out, size_t capacity) {
  while (IsBlank(*p)) ++p;
  if (*p == '\0') return nullptr;
  size_t length = 0;
  bool quoted = false;
  for (; *p != '\0' && (quoted || !IsBlank(*p)); ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (length + 1 < capacity) {
      out[length++] = *p;
    }
  }
  out[length] = '\0';
  return p;
}

bool IsSwitch(const char* argument) { return argument[0] == '/' || argument[0] == '-'; }

bool IsSendSwitch(const char* argument) {
  size_t i = 0;
  for (; kSendSwitch[i] != '\0'; ++i) {
    if (LowerAscii(argument[i + 1]) != kSendSwitch[i]) return false;
  }
  return argument[i + 1] == '\0';
}

}  // namespace

PanelStart ReadCommandLine(const char* line) {
  PanelStart start;
  char argument[kStartFileCapacity];
  const char* p = NextArgument(line, argument, sizeof argument);  // the program's own name
  while (p != nullptr && (p = NextArgument(p, argument, sizeof argument)) != nullptr) {
    const bool sendSwitch = IsSwitch(argument) && IsSendSwitch(argument) && start.mode != PanelStart::Mode::Send;
    const bool file = !IsSwitch(argument) && start.file[0] == '\0';
    if (!sendSwitch && !file) {
      start.mode = PanelStart::Mode::Usage;
      start.file[0] = '\0';
      return start;
    }
    if (sendSwitch) start.mode = PanelStart::Mode::Send;
    for (size_t i = 0; file && i < sizeof argument; ++i) start.file[i] = argument[i];
  }
  return start;
}
