#include "uninstall/ascii_text.h"

size_t BoundedLength(const char* text, size_t capacity) {
  size_t length = 0;
  while (length < capacity && text[length] != '\0') ++length;
  return length;
}

static char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool EqualIgnoringAsciiCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (FoldAscii(*a) != FoldAscii(*b)) return false;
    if (*a == '\0') return true;
  }
}
