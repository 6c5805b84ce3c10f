// Record mode against arbitrary deltas, lengths, messages and buffer ends: an event is written
// whole and reads back exactly, or it is left out whole; nothing is ever written past the end
// (the buffer is allocated at its exact size, so the sanitizer sees any such write).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "panel/device/message_sink.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/mpu_port.h"

namespace {
class FixedClock : public TickSource {
 public:
  uint32_t Milliseconds() override { return 0; }
};

struct Input {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }
};

void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  Mpu401Model model;
  FixedClock clock;
  MpuPort mpu(model, clock);
  uint32_t port = 0x330;
  MessageSink sink(mpu, port);

  const size_t capacity = in.Byte() % 64;
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[capacity == 0 ? 1 : capacity]);
  std::memset(buffer.get(), 0xAA, capacity);
  sink.state.bufferStart = buffer.get();
  sink.state.cursor = buffer.get();
  sink.state.bufferEnd = buffer.get() + capacity;

  while (in.size > 0) {
    uint8_t message[32];
    const size_t n = 1 + in.Byte() % sizeof message;
    for (size_t i = 0; i < n; ++i) message[i] = in.Byte();
    sink.state.deltaTicks = in.Word() >> (in.Byte() % 32);
    sink.state.recordLength = in.Byte();

    uint8_t* before = sink.state.cursor;
    const size_t roomBefore = static_cast<size_t>(sink.state.bufferEnd - before);
    sink.Send(message, n);
    uint8_t* after = sink.state.cursor;
    Check(after >= before && after <= sink.state.bufferEnd);
    if (after == before) {
      Check(sink.state.overflowed);
      for (size_t i = 0; i < roomBefore; ++i) Check(before[i] == 0xAA);
      continue;
    }
    // Read the event back.
    const uint8_t* p = before;
    uint32_t delta = 0;
    int groups = 0;
    for (;;) {
      Check(++groups <= 5);
      const uint8_t b = *p++;
      delta = (delta << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) break;
    }
    Check(delta == sink.state.deltaTicks);
    Check(*p++ == message[0]);
    Check(*p++ == sink.state.recordLength);
    Check(std::memcmp(p, message + 1, n - 1) == 0);
    Check(p + (n - 1) == after);
  }
  Check(model.EventCount() == 0);  // nothing reaches the card while recording
  return 0;
}
