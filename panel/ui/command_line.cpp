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

// Appends " word" (or "word" to an empty name); false when it does not fit.
bool AppendWord(char* name, const char* word) {
  size_t length = 0;
  while (name[length] != '\0') ++length;
  if (length > 0) {
    if (length + 1 >= kStartFileCapacity) return false;
    name[length++] = ' ';
  }
  for (const char* w = word; *w != '\0'; ++w) {
    if (length + 1 >= kStartFileCapacity) return false;
    name[length++] = *w;
  }
  name[length] = '\0';
  return true;
}

}  // namespace

PanelStart ReadCommandLine(const char* line, FileExists exists) {
  PanelStart start;
  char argument[kStartFileCapacity];
  const char* p = NextArgument(line, argument, sizeof argument);  // the program's own name
  size_t files = 0;
  bool fits = true;
  while (p != nullptr && (p = NextArgument(p, argument, sizeof argument)) != nullptr) {
    if (IsSwitch(argument)) {
      if (!IsSendSwitch(argument) || start.mode == PanelStart::Mode::Send) {
        start.mode = PanelStart::Mode::Usage;
        start.file[0] = '\0';
        return start;
      }
      start.mode = PanelStart::Mode::Send;
    } else {
      ++files;
      fits = AppendWord(start.file, argument) && fits;
    }
  }
  if (!fits || (files > 1 && !exists(start.file))) {
    start.mode = PanelStart::Mode::Usage;
    start.file[0] = '\0';
  }
  return start;
}
