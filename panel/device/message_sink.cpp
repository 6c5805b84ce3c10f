#include "panel/device/message_sink.h"

#include "panel/device/mpu_port.h"

namespace {
constexpr size_t kMaxVlqBytes = 5;  // a 32-bit value in groups of 7 bits

// Writes `value` as a MIDI variable-length quantity into `out`; returns the number of bytes.
size_t EncodeVlq(uint32_t value, uint8_t* out) {
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
}  // namespace

void MessageSink::Send(const uint8_t* message, size_t n) {
  if (n == 0) return;
  if (state.cursor == nullptr) {
    const uint16_t base = static_cast<uint16_t>(port_);
    for (size_t i = 0; i < n; ++i) mpu_.WriteData(base, message[i]);
    return;
  }

  uint8_t delta[kMaxVlqBytes];
  const size_t deltaLength = EncodeVlq(state.deltaTicks, delta);
  const size_t eventLength = deltaLength + 2 + (n - 1);
  // An event that does not fit whole is not written at all, so the image never holds half an
  // event; without a known end nothing fits.
  if (state.bufferEnd == nullptr || state.cursor > state.bufferEnd ||
      static_cast<size_t>(state.bufferEnd - state.cursor) < eventLength) {
    state.overflowed = true;
    return;
  }
  uint8_t* out = state.cursor;
  for (size_t i = 0; i < deltaLength; ++i) *out++ = delta[i];
  *out++ = message[0];
  *out++ = state.recordLength;
  for (size_t i = 1; i < n; ++i) *out++ = message[i];
  state.cursor = out;
}
