#include "panel/ui/startup_entry.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameFileName(const char* a, const char* b) {
  for (; LowerAscii(*a) == LowerAscii(*b); ++a, ++b) {
    if (*a == '\0') return true;
  }
  return false;
}

}  // namespace

bool StartupEntryStartsProgram(const char* entry, const char* programPath) {
  char argument[kStartFileCapacity];
  const char* rest = NextArgument(entry, argument, sizeof argument);
  if (rest == nullptr || !SameFileName(argument, programPath)) return false;
  while ((rest = NextArgument(rest, argument, sizeof argument)) != nullptr) {
    if (IsSendSwitch(argument)) return true;
  }
  return false;
}
