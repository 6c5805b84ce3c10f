// The export's message recorder: each message as a system-exclusive event of the file, the data
// sets it extends and closes again, the delta times, and never a byte past its buffer.
#include "panel/export/message_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "panel/device/live_message_sink.h"
#include "panel/device/mpu401_capture.h"
#include "panel/device/tests/fake_clock.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
const Bytes kTune = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x3C, 0xF7};
const Bytes kLevel = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7};  // sum 41h

uint32_t Microseconds(uint32_t ticks) { return ticks * kMicrosecondsPerTick; }

// Records into a buffer of exactly `size` bytes: the sanitizer catches any write past it.
struct Recording {
  explicit Recording(size_t size, uint8_t length = 7) : buffer(size, 0xAA), recorder(buffer.data(), buffer.size()) {
    recorder.SetRecordLength(length);
  }
  void Send(const Bytes& m) { recorder.Send(m.data(), m.size()); }
  Bytes Written() const { return Bytes(buffer.begin(), buffer.begin() + static_cast<long>(recorder.Size())); }

  Bytes buffer;
  MessageRecorder recorder;
};

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Event(Bytes delta, uint8_t length, const Bytes& message) {
  delta.push_back(message[0]);
  delta.push_back(length);
  return Concat(delta, Bytes(message.begin() + 1, message.end()));
}

}  // namespace

// The length bytes given (7Eh and 7) differ from n - 1 on purpose: they are written as given.
TEST(MessageRecorder, WritesDeltaStatusLengthAndTheRest) {
  Recording r(64, 0x7E);
  r.Send(kTune);
  EXPECT_EQ(r.Written(), Event({0x00}, 0x7E, kTune));
  EXPECT_EQ(r.Written().size(), kTune.size() + 2);

  r.recorder.WaitBeforeNextEvent(Microseconds(200));
  r.recorder.SetRecordLength(7);
  r.Send(kVolume);
  const Bytes second = Event({0x81, 0x48}, 7, kVolume);
  EXPECT_EQ(r.Written(), Concat(Event({0x00}, 0x7E, kTune), second));
  // Recording changes neither the delta time nor the length byte.
  r.Send(kVolume);
  EXPECT_EQ(r.Written(), Concat(Concat(Event({0x00}, 0x7E, kTune), second), second));
  EXPECT_FALSE(r.recorder.Overflowed());
}

TEST(MessageRecorder, DeltaIsAVariableLengthQuantity) {
  const struct {
    uint32_t delta;
    Bytes bytes;
  } cases[] = {
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    uint8_t out[5] = {};
    const size_t n = EncodeVariableLength(c.delta, out);
    EXPECT_EQ(Bytes(out, out + n), c.bytes) << std::hex << c.delta;
    if (c.delta > 0x4000) continue;  // beyond what microseconds in 32 bits reach
    Recording r(32);
    r.recorder.WaitBeforeNextEvent(Microseconds(c.delta));
    r.Send(kVolume);
    EXPECT_EQ(r.Written(), Event(c.bytes, 7, kVolume)) << std::hex << c.delta;
  }
}

TEST(MessageRecorder, NeverWritesPastTheBufferEnd) {
  // An event that just fits is written and fills the buffer.
  Recording exact(kVolume.size() + 2);
  exact.Send(kVolume);
  EXPECT_EQ(exact.recorder.Size(), exact.buffer.size());
  EXPECT_FALSE(exact.recorder.Overflowed());

  // One byte short (here because of a two-byte delta): nothing of it is written.
  Recording shortBy1(kVolume.size() + 2);
  shortBy1.recorder.WaitBeforeNextEvent(Microseconds(200));
  shortBy1.Send(kVolume);
  EXPECT_EQ(shortBy1.recorder.Size(), 0u);
  EXPECT_TRUE(shortBy1.recorder.Overflowed());
  EXPECT_EQ(shortBy1.buffer, Bytes(kVolume.size() + 2, 0xAA));

  // After an event was left out, one that still fits is recorded.
  shortBy1.recorder.WaitBeforeNextEvent(0);
  shortBy1.Send(kVolume);
  EXPECT_EQ(shortBy1.Written().size(), kVolume.size() + 2);
  EXPECT_TRUE(shortBy1.recorder.Overflowed());

  // No buffer: nothing fits, neither an event nor the file's own bytes.
  MessageRecorder none(nullptr, 0);
  none.Send(kVolume.data(), kVolume.size());
  none.Append(kVolume.data(), 1);
  EXPECT_EQ(none.Size(), 0u);
  EXPECT_TRUE(none.Overflowed());

  Recording header(4);
  header.recorder.Append(kTune.data(), 5);
  EXPECT_EQ(header.recorder.Size(), 0u);
  EXPECT_TRUE(header.recorder.Overflowed());
}

// The close appends checksum and F7h from the extended sum and times the next event by the
// length byte; it never writes past the buffer's end.
TEST(MessageRecorder, ExtendsTheLastMessageAndClosesIt) {
  Recording r(64, 19);
  r.Send(kLevel);
  ASSERT_TRUE(r.recorder.Reopen(0x41));
  r.recorder.AppendData(0xC2);  // a stored value beyond 7 bits keeps its low seven: 42h
  r.recorder.CloseRecordedMessage();
  // 41h + 42h = 83h (131): checksum 125.
  EXPECT_EQ(r.Written(), Event({0x00}, 19, {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x42, 0x7D, 0xF7}));
  r.Send(kVolume);
  EXPECT_EQ(r.buffer[r.Written().size() - kVolume.size() - 2], 0x08) << "length 19: 8 ticks";

  // (bytes + 126) x 320 us in 5208 us ticks.
  const struct {
    uint8_t length;
    uint8_t ticks;
  } timings[] = {{15, 8}, {18, 8}, {10, 8}, {0, 7}, {127, 15}, {255, 23}};
  for (const auto& t : timings) {
    Recording timed(64, t.length);
    timed.Send(kLevel);
    ASSERT_TRUE(timed.recorder.Reopen(0x41));
    timed.recorder.CloseRecordedMessage();
    const size_t closed = timed.recorder.Size();
    timed.Send(kVolume);
    EXPECT_EQ(timed.buffer[closed], t.ticks) << int{t.length};
  }

  // One byte left before the end: the close writes nothing.
  Recording full(kLevel.size() + 2 + 1);
  full.Send(kLevel);
  ASSERT_TRUE(full.recorder.Reopen(0x41));
  full.recorder.AppendData(1);
  full.recorder.AppendData(2);
  full.recorder.CloseRecordedMessage();
  EXPECT_TRUE(full.recorder.Overflowed());
  EXPECT_EQ(full.recorder.Size(), kLevel.size() + 2);
  EXPECT_EQ(full.buffer.back(), 0xAA);
  full.recorder.AppendData(3);
  EXPECT_EQ(full.buffer.back(), 3);
  full.recorder.AppendData(4);
  EXPECT_EQ(full.recorder.Size(), full.buffer.size());
}

// The export only ever extends a message that really is in the buffer.
TEST(MessageRecorder, ReopensOnlyAWholeMessageRecordedLast) {
  Recording r(31);
  EXPECT_FALSE(r.recorder.Reopen(0));
  r.recorder.Append(kTune.data(), 3);
  EXPECT_FALSE(r.recorder.Reopen(0));
  r.Send(kLevel);
  EXPECT_TRUE(r.recorder.Reopen(0x41));
  EXPECT_FALSE(r.recorder.Reopen(0x41)) << "already open";
  r.recorder.CloseRecordedMessage();
  r.Send(kTune);  // does not fit what is left: left out
  EXPECT_TRUE(r.recorder.Overflowed());
  const size_t before = r.recorder.Size();
  EXPECT_FALSE(r.recorder.Reopen(0));
  EXPECT_EQ(r.recorder.Size(), before);
}

TEST(MessageRecorder, RecordingLeavesTheCardAloneAndTheLiveSinkStillReachesIt) {
  Mpu401Model model{0x330};
  SteppingClock clock;
  MpuPort mpu{model, clock};
  uint32_t port = 0x330;
  LiveMessageSink live{mpu, port};
  Recording r(64);
  r.Send(kVolume);
  EXPECT_EQ(model.EventCount(), 0u);
  EXPECT_EQ(model.StatusReads(), 0u);
  live.Send(kTune.data(), kTune.size());
  EXPECT_EQ(CapturedMessages(model), std::vector<Bytes>{kTune});
}
