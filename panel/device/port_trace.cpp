#include "panel/device/port_trace.h"

namespace {
char* PutText(char* out, const char* text) {
  while (*text != '\0') *out++ = *text++;
  return out;
}

char* PutHex(char* out, unsigned value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) *out++ = kDigits[(value >> shift) & 0xF];
  return out;
}
}  // namespace

size_t FormatTraceLine(const PortEvent& event, char* out) {
  char* p = out;
  switch (event.kind) {
    case PortEvent::Kind::DisableInterrupts:
      p = PutText(p, "CLI");
      break;
    case PortEvent::Kind::EnableInterrupts:
      p = PutText(p, "STI");
      break;
    case PortEvent::Kind::Write:
    case PortEvent::Kind::Read:
      p = PutText(p, event.kind == PortEvent::Kind::Write ? "OUT " : "IN ");
      p = PutHex(p, event.port, 4);
      *p++ = ' ';
      p = PutHex(p, event.value, 2);
      break;
  }
  p = PutText(p, "\r\n");
  return static_cast<size_t>(p - out);
}
