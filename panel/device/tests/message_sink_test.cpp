// The sink in live mode (to the card) and in record mode (into a MIDI file image).
#include <gtest/gtest.h>

#include <vector>

#include "panel/device/message_sink.h"
#include "panel/device/mpu401_capture.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

namespace {
const std::vector<uint8_t> kVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
const std::vector<uint8_t> kTune = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00,
                                    0x00, 0x00, 0x04, 0x00, 0x00, 0x3C, 0xF7};

struct Fixture {
  Mpu401Model model{0x330};
  SteppingClock clock;
  MpuPort mpu{model, clock};
  uint32_t port = 0x330;
  MessageSink sink{mpu, port};

  // Record mode into a buffer of exactly `size` bytes: the sanitizer catches any write past it.
  std::vector<uint8_t> buffer;
  void Record(size_t size, uint32_t delta, uint8_t length) {
    buffer.assign(size, 0xAA);
    sink.state.bufferStart = buffer.data();
    sink.state.cursor = buffer.data();
    sink.state.bufferEnd = buffer.data() + buffer.size();
    sink.state.deltaTicks = delta;
    sink.state.recordLength = length;
  }
  void Send(const std::vector<uint8_t>& m) { sink.Send(m.data(), m.size()); }
  std::vector<uint8_t> Written() const {
    return std::vector<uint8_t>(sink.state.bufferStart, sink.state.cursor);
  }
};

std::vector<uint8_t> Concat(std::vector<uint8_t> head, const std::vector<uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}
}  // namespace

TEST(SinkLive, WritesTheBytesInOrderToTheDataRegisterOfTheLow16BitsOfPort) {
  Fixture f;
  f.port = 0x00010300;  // only the low 16 bits address ports
  f.model = Mpu401Model(0x300);
  f.Send(kVolume);
  f.Send(kTune);
  EXPECT_EQ(CapturedDataBytes(f.model), Concat(kVolume, kTune));
  EXPECT_FALSE(f.sink.Recording());
}

// The length bytes given (7Eh and 7) differ from n - 1 on purpose: they are written as given.
TEST(SinkRecord, WritesDeltaStatusLengthAndTheRestAndNothingReachesTheCard) {
  Fixture f;
  f.Record(64, 0, 0x7E);
  f.Send(kTune);
  EXPECT_EQ(f.Written(), Concat({0x00, 0xF0, 0x7E}, {kTune.begin() + 1, kTune.end()}));
  EXPECT_EQ(f.Written().size(), kTune.size() + 2);
  EXPECT_EQ(f.model.EventCount(), 0u);
  EXPECT_EQ(f.model.StatusReads(), 0u);

  f.sink.state.deltaTicks = 200;
  f.sink.state.recordLength = 7;
  f.Send(kVolume);
  std::vector<uint8_t> second = {0x81, 0x48, 0xF0, 7};
  second.insert(second.end(), kVolume.begin() + 1, kVolume.end());
  EXPECT_EQ(f.Written(), Concat(Concat({0x00, 0xF0, 0x7E}, {kTune.begin() + 1, kTune.end()}), second));
  EXPECT_EQ(f.sink.state.deltaTicks, 200u);
  EXPECT_EQ(f.sink.state.recordLength, 7);
}

TEST(SinkRecord, DeltaIsAVariableLengthQuantity) {
  const struct {
    uint32_t delta;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.Record(32, c.delta, 7);
    f.Send(kVolume);
    std::vector<uint8_t> written = f.Written();
    ASSERT_GE(written.size(), c.bytes.size() + 1);
    EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + c.bytes.size()), c.bytes)
        << std::hex << c.delta;
    EXPECT_EQ(written[c.bytes.size()], 0xF0);
  }
}

TEST(SinkRecord, NeverWritesPastTheBufferEnd) {
  // An event that just fits is written and leaves the cursor on the end.
  Fixture exact;
  exact.Record(kVolume.size() + 2, 0, 7);
  exact.Send(kVolume);
  EXPECT_EQ(exact.sink.state.cursor, exact.buffer.data() + exact.buffer.size());
  EXPECT_FALSE(exact.sink.state.overflowed);

  // One byte short (here because of a two-byte delta): nothing of it is written.
  Fixture shortBy1;
  shortBy1.Record(kVolume.size() + 2, 200, 7);
  shortBy1.Send(kVolume);
  EXPECT_EQ(shortBy1.sink.state.cursor, shortBy1.buffer.data());
  EXPECT_TRUE(shortBy1.sink.state.overflowed);
  EXPECT_EQ(shortBy1.buffer, std::vector<uint8_t>(kVolume.size() + 2, 0xAA));

  // After an event was left out, one that still fits is recorded.
  shortBy1.sink.state.deltaTicks = 0;
  shortBy1.Send(kVolume);
  EXPECT_EQ(shortBy1.Written().size(), kVolume.size() + 2);
  EXPECT_TRUE(shortBy1.sink.state.overflowed);

  // No end known: nothing can be shown to fit.
  Fixture noEnd;
  noEnd.Record(64, 0, 7);
  noEnd.sink.state.bufferEnd = nullptr;
  noEnd.Send(kVolume);
  EXPECT_EQ(noEnd.Written().size(), 0u);
  EXPECT_TRUE(noEnd.sink.state.overflowed);
}

TEST(SinkModes, BackToLiveModeReachesTheCardAgain) {
  Fixture f;
  f.Record(64, 0, 7);
  f.Send(kVolume);
  f.sink.state.cursor = nullptr;
  f.Send(kTune);
  EXPECT_EQ(CapturedMessages(f.model), std::vector<std::vector<uint8_t>>{kTune});
}
