#include "panel/export/message_recorder.h"

#include <cstring>

#include "panel/core/message_layout.h"

namespace {

constexpr size_t kMaxVlqBytes = 5;  // a 32-bit value in groups of 7 bits

// A byte takes 320 us on the MIDI line (31250 baud); the card wants the time of 126 more bytes
// after each message before the next one.
constexpr uint32_t kMicrosecondsPerByte = 320;
constexpr uint32_t kSettleMicroseconds = 126 * kMicrosecondsPerByte;

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

MessageRecorder::MessageRecorder(uint8_t* bufferStart, size_t capacity)
    : bufferStart_(bufferStart), bufferEnd_(bufferStart ? bufferStart + capacity : nullptr), cursor_(bufferStart) {}

bool MessageRecorder::Room(size_t n) {
  if (static_cast<size_t>(bufferEnd_ - cursor_) >= n) return true;
  overflowed_ = true;
  return false;
}

void MessageRecorder::Send(const uint8_t* message, size_t n) {
  messageEnd_ = nullptr;
  if (n == 0) return;
  uint8_t delta[kMaxVlqBytes];
  const size_t deltaLength = EncodeVariableLength(deltaTicks_, delta);
  // An event that does not fit whole is not written at all, so the image never holds half an
  // event.
  if (!Room(deltaLength + 2 + (n - 1))) return;
  std::memcpy(cursor_, delta, deltaLength);
  cursor_ += deltaLength;
  *cursor_++ = message[0];
  *cursor_++ = recordLength_;
  std::memcpy(cursor_, message + 1, n - 1);
  cursor_ += n - 1;
  messageEnd_ = cursor_;
}

void MessageRecorder::Append(const uint8_t* bytes, size_t n) {
  messageEnd_ = nullptr;
  if (!Room(n)) return;
  std::memcpy(cursor_, bytes, n);
  cursor_ += n;
}

bool MessageRecorder::Reopen(uint8_t checksumSum) {
  if (messageEnd_ == nullptr || messageEnd_ != cursor_) return false;
  messageEnd_ = nullptr;
  cursor_ -= kDataSetTrailer;
  checksumSum_ = checksumSum;
  return true;
}

void MessageRecorder::AppendData(uint8_t value) {
  messageEnd_ = nullptr;
  if (!Room(1)) return;
  const uint8_t byte = DataByte(value);
  *cursor_++ = byte;
  checksumSum_ = static_cast<uint8_t>(checksumSum_ + byte);
}

void MessageRecorder::CloseRecordedMessage() {
  messageEnd_ = nullptr;
  if (Room(kDataSetTrailer)) {
    *cursor_++ = DataSetChecksum(checksumSum_);
    *cursor_++ = kSysExEnd;
  }
  deltaTicks_ = (recordLength_ * kMicrosecondsPerByte + kSettleMicroseconds) / kMicrosecondsPerTick;
}
