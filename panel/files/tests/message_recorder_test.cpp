// The export's message recorder: each message as a system-exclusive event of the file, the delta
// times the card needs between them, and never a byte past its buffer.
#include "panel/files/message_recorder.h"

#include <gtest/gtest.h>

#include <vector>

#include "panel/device/card_ports_output.h"
#include "panel/device/mpu401_capture.h"
#include "panel/device/tests/fake_clock.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
const Bytes kTune = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x3C, 0xF7};
const Bytes kLevel = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7};  // sum 41h

// Records into a buffer of exactly `size` bytes: the sanitizer catches any write past it.
struct Recording {
  explicit Recording(size_t size) : buffer(size, 0xAA), recorder(buffer.data(), buffer.size()) {}
  void Send(const Bytes& m) { recorder.Send(m.data(), m.size()); }
  Bytes Written() const { return Bytes(buffer.begin(), buffer.begin() + static_cast<long>(recorder.Size())); }

  Bytes buffer;
  MessageRecorder recorder;
};

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Event(Bytes delta, const Bytes& message) {
  delta.push_back(message[0]);
  delta.push_back(static_cast<uint8_t>(message.size() - 1));
  return Concat(delta, Bytes(message.begin() + 1, message.end()));
}

}  // namespace

// The first event follows at once; each later one by the time the card needs to take in the one
// before it: (bytes after F0h + 126) x 320 us in 5208 us ticks.
TEST(MessageRecorder, WritesDeltaStatusLengthAndTheRest) {
  Recording r(64);
  r.Send(kTune);
  EXPECT_EQ(r.Written(), Event({0x00}, kTune));
  EXPECT_EQ(r.Written().size(), kTune.size() + 2);
  r.Send(kVolume);
  r.Send(kVolume);
  EXPECT_EQ(r.Written(), Concat(Concat(Event({0x00}, kTune), Event({0x08}, kVolume)), Event({0x08}, kVolume)));
  EXPECT_FALSE(r.recorder.Overflowed());

  const struct {
    size_t n;
    uint32_t ticks;
  } timings[] = {{16, 8}, {19, 8}, {20, 8}, {11, 8}, {1, 7}, {128, 15}, {256, 23}, {20000, 1236}};
  for (const auto& t : timings) EXPECT_EQ(TicksAfterMessage(t.n), t.ticks) << t.n;
}

TEST(MessageRecorder, DeltaAndLengthAreVariableLengthQuantities) {
  const struct {
    uint32_t value;
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
    const size_t n = EncodeVariableLength(c.value, out);
    EXPECT_EQ(Bytes(out, out + n), c.bytes) << std::hex << c.value;
  }
  // A message of 200 bytes: its length 199 takes two bytes; the next event follows 19 ticks later.
  Bytes longMessage(200, 0x01);
  longMessage.front() = 0xF0;
  longMessage.back() = 0xF7;
  Recording r(512);
  r.Send(longMessage);
  r.Send(kVolume);
  Bytes expected = {0x00, 0xF0, 0x81, 0x47};
  expected.insert(expected.end(), longMessage.begin() + 1, longMessage.end());
  EXPECT_EQ(r.Written(), Concat(expected, Event({0x13}, kVolume)));
}

TEST(MessageRecorder, NeverWritesPastTheBufferEnd) {
  // An event that just fits is written and fills the buffer.
  Recording exact(kVolume.size() + 2);
  exact.Send(kVolume);
  EXPECT_EQ(exact.recorder.Size(), exact.buffer.size());
  EXPECT_FALSE(exact.recorder.Overflowed());

  // One byte short: nothing of it is written.
  Recording shortBy1(kTune.size() + 1);
  shortBy1.Send(kTune);
  EXPECT_EQ(shortBy1.recorder.Size(), 0u);
  EXPECT_TRUE(shortBy1.recorder.Overflowed());
  EXPECT_EQ(shortBy1.buffer, Bytes(kTune.size() + 1, 0xAA));

  // After an event was left out, one that still fits is recorded.
  shortBy1.Send(kVolume);
  EXPECT_EQ(shortBy1.Written(), Event({0x08}, kVolume));
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

TEST(MessageRecorder, RecordingLeavesTheCardAloneAndTheLiveSinkStillReachesIt) {
  Mpu401Model model{0x330};
  SteppingClock clock;
  MpuPort mpu{model, clock};
  uint32_t port = 0x330;
  CardPortsOutput live{mpu, port};
  Recording r(64);
  r.Send(kVolume);
  EXPECT_EQ(model.EventCount(), 0u);
  EXPECT_EQ(model.StatusReads(), 0u);
  live.Send(kTune.data(), kTune.size());
  EXPECT_EQ(CapturedMessages(model), std::vector<Bytes>{kTune});
}
