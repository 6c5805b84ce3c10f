#include "panel/ui/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

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

namespace {

bool IsSwitch(const char* argument) { return argument[0] == '/' || argument[0] == '-'; }

}  // namespace

bool IsSendSwitch(const char* argument) {
  if (!IsSwitch(argument)) return false;
  size_t i = 0;
  for (; kSendSwitch[i] != '\0'; ++i) {
    if (LowerAscii(argument[i + 1]) != kSendSwitch[i]) return false;
  }
  return argument[i + 1] == '\0';
}

PanelStart ReadCommandLine(const char* line) {
  PanelStart start;
  char argument[kStartFileCapacity];
  const char* p = NextArgument(line, argument, sizeof argument);  // the program's own name
  while (p != nullptr && (p = NextArgument(p, argument, sizeof argument)) != nullptr) {
    const bool sendSwitch = IsSendSwitch(argument) && start.mode != PanelStart::Mode::Send;
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
