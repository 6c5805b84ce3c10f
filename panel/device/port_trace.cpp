#include "panel/device/port_trace.h"

#include "panel/device/system_exclusive.h"

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

size_t NotedTrace::Line(const PortEvent& event, char* out) {
  const size_t length = FormatTraceLine(event, out);
  if (describer_ == nullptr) return length;
  if (event.kind != PortEvent::Kind::Write || event.port != dataPort_) {
    inside_ = false;
    return length;
  }
  if (event.value == kSysExStart) {
    inside_ = true;
    length_ = 0;
  }
  if (!inside_) return length;
  if (length_ < kMessageCapacity) message_[length_++] = event.value;
  if (event.value != kSysExEnd) return length;
  inside_ = false;
  char note[kTraceNoteCapacity];
  size_t noteLength = describer_->Describe(message_, length_, note);
  if (noteLength >= kTraceNoteCapacity) noteLength = kTraceNoteCapacity - 1;
  // The note goes between the event and the line end.
  char* p = out + length - 2;
  p = PutText(p, " ; ");
  for (size_t i = 0; i < noteLength; ++i) *p++ = note[i];
  p = PutText(p, "\r\n");
  return static_cast<size_t>(p - out);
}
