#include "panel/files/message_recorder.h"

#include <cstring>

namespace {

constexpr size_t kMaxVlqBytes = 5;  // a 32-bit value in groups of 7 bits

}  // namespace

size_t EncodeVariableLength(uint32_t value, uint8_t* out) {
  uint8_t groups[kMaxVlqBytes];
  size_t n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  for (size_t i = 0; i < n; ++i) {
    uint8_t group = groups[n - 1 - i];
    out[i] = i + 1 < n ? static_cast<uint8_t>(group | 0x80) : group;
  }
  return n;
}

MessageRecorder::MessageRecorder(uint8_t* bufferStart, size_t capacity, Form form)
    : bufferStart_(bufferStart),
      bufferEnd_(bufferStart ? bufferStart + capacity : nullptr),
      cursor_(bufferStart),
      form_(form) {}

bool MessageRecorder::Room(size_t n) {
  if (static_cast<size_t>(bufferEnd_ - cursor_) >= n) return true;
  overflowed_ = true;
  return false;
}

void MessageRecorder::Send(const uint8_t* message, size_t n) {
  if (n == 0) return;
  if (form_ == Form::Dump) {
    Append(message, n);
    return;
  }
  uint8_t delta[kMaxVlqBytes];
  const size_t deltaLength = EncodeVariableLength(deltaTicks_, delta);
  uint8_t length[kMaxVlqBytes];
  const size_t lengthLength = EncodeVariableLength(static_cast<uint32_t>(n - 1), length);
  deltaTicks_ = TicksAfterMessage(n);
  // An event that does not fit whole is not written at all, so the image never holds half an
  // event.
  if (!Room(deltaLength + 1 + lengthLength + (n - 1))) return;
  std::memcpy(cursor_, delta, deltaLength);
  cursor_ += deltaLength;
  *cursor_++ = message[0];
  std::memcpy(cursor_, length, lengthLength);
  cursor_ += lengthLength;
  std::memcpy(cursor_, message + 1, n - 1);
  cursor_ += n - 1;
}

void MessageRecorder::Append(const uint8_t* bytes, size_t n) {
  if (!Room(n)) return;
  std::memcpy(cursor_, bytes, n);
  cursor_ += n;
}
