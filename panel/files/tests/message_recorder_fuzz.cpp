// The recorder against arbitrary messages and buffer sizes: an event is written whole and reads back
// exactly, with the delta time its predecessor asked for, or it is left out whole; nothing is ever
// written past the end (the buffer is allocated at its exact size, so the sanitizer sees any such
// write).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "panel/files/message_recorder.h"

namespace {
struct Input {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
};

void Check(bool ok) {
  if (!ok) std::abort();
}

uint32_t ReadQuantity(const uint8_t** p) {
  uint32_t value = 0;
  for (int groups = 1;; ++groups) {
    Check(groups <= 5);
    const uint8_t b = *(*p)++;
    value = (value << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) return value;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  const size_t capacity = in.Byte() % 64;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[capacity == 0 ? 1 : capacity]);
  std::memset(buffer.get(), 0xAA, capacity);
  MessageRecorder recorder(buffer.get(), capacity);

  uint32_t expectedDelta = 0;
  while (in.size > 0) {
    uint8_t message[200];
    const size_t n = 1 + in.Byte() % sizeof message;
    for (size_t i = 0; i < n; ++i) message[i] = in.Byte();

    const size_t before = recorder.Size();
    recorder.Send(message, n);
    const size_t after = recorder.Size();
    const uint32_t delta = expectedDelta;
    expectedDelta = TicksAfterMessage(n);
    Check(after >= before && after <= capacity);
    if (after == before) {
      Check(recorder.Overflowed());
      for (size_t i = before; i < capacity; ++i) Check(buffer[i] == 0xAA);
      continue;
    }
    // Read the event back.
    const uint8_t* p = buffer.get() + before;
    Check(ReadQuantity(&p) == delta);
    Check(*p++ == message[0]);
    Check(ReadQuantity(&p) == n - 1);
    Check(std::memcmp(p, message + 1, n - 1) == 0);
    Check(p + (n - 1) == buffer.get() + after);
  }
  return 0;
}
