// The software interface that other tests and the simulator rely on to stand in for the card.
#include <gtest/gtest.h>

#include <vector>

#include "panel/device/mpu401_capture.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace.h"

namespace {
using Kind = PortEvent::Kind;

class CountingObserver : public PortEventObserver {
 public:
  void OnPortEvent(const PortEvent& e) override { seen.push_back(e); }
  std::vector<PortEvent> seen;
};

void WriteAll(Mpu401Model& m, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) m.WriteByte(m.Base(), b);
}
}  // namespace

TEST(ModelStatus, ReadyIdleBusyAndAbsent) {
  Mpu401Model m(0x300);
  EXPECT_EQ(m.ReadByte(0x301), 0x80);  // can take a byte, nothing received
  EXPECT_EQ(m.ReadByte(0x304), 0x80);

  m.SetBusyPolls(2);
  m.WriteByte(0x300, 0x90);
  EXPECT_EQ(m.ReadByte(0x301), 0xC0);
  EXPECT_EQ(m.ReadByte(0x301), 0xC0);
  EXPECT_EQ(m.ReadByte(0x301), 0x80);
  EXPECT_EQ(m.StatusReads(), 5u);
  EXPECT_EQ(m.EventCount(), 1u);  // status reads are not events

  m.SetAbsent(true);
  EXPECT_EQ(m.ReadByte(0x301), 0xFF);
  EXPECT_EQ(m.ReadByte(0x304), 0xFF);
  EXPECT_EQ(m.ReadByte(0x300), 0xFF);
}

TEST(ModelCommands, ResetAnswersAcknowledgeAfterStrayBytesAndUartModeIgnoresOtherCommands) {
  Mpu401Model m;
  const uint8_t stray[] = {0xF8, 0x90};
  m.SetStrayBytes(stray, 2);
  m.WriteByte(0x331, 0x3F);  // already in UART mode: ignored, no reply
  EXPECT_EQ(m.ReadByte(0x331) & 0x80, 0x80);

  m.WriteByte(0x331, 0xFF);
  EXPECT_FALSE(m.InUartMode());
  EXPECT_EQ(m.ReadByte(0x331) & 0x80, 0);
  EXPECT_EQ(m.ReadByte(0x330), 0xF8);
  EXPECT_EQ(m.ReadByte(0x330), 0x90);
  EXPECT_EQ(m.ReadByte(0x330), 0xFE);
  EXPECT_EQ(m.ReadByte(0x331) & 0x80, 0x80);

  m.WriteByte(0x331, 0x3F);  // enters UART mode and acknowledges it, as real ones do
  EXPECT_TRUE(m.InUartMode());
  EXPECT_EQ(m.ReadByte(0x330), 0xFE);
}

TEST(ModelCapture, GroupsDataBytesIntoMessages) {
  Mpu401Model m;
  WriteAll(m, {0x90, 0xF0, 0x01, 0xF7, 0x7F, 0xF0, 0x02, 0x03, 0xF7, 0xF0, 0x04});
  m.WriteByte(0x331, 0xF7);  // a command, not data
  m.WriteByte(0x333, 0x80);
  EXPECT_EQ(CapturedDataBytes(m).size(), 11u);
  EXPECT_EQ(CapturedMessages(m), (std::vector<std::vector<uint8_t>>{{0xF0, 0x01, 0xF7},
                                                                   {0xF0, 0x02, 0x03, 0xF7}}));
  uint8_t small[2];
  EXPECT_EQ(m.Message(1, small, sizeof small), 4u);  // length is reported even when cut short
  EXPECT_EQ(m.Message(2, small, sizeof small), 0u);  // the open message does not count
}

TEST(ModelCapture, ObserverSeesEveryEventEvenBeyondTheKeptList) {
  Mpu401Model m;
  CountingObserver observer;
  m.SetObserver(&observer);
  for (size_t i = 0; i < Mpu401Model::kEventCapacity + 3; ++i) m.WriteByte(0x330, 0xF8);
  m.DisableInterrupts();
  m.ReadByte(0x330);
  m.ReadByte(0x331);
  EXPECT_EQ(observer.seen.size(), Mpu401Model::kEventCapacity + 5);
  EXPECT_EQ(observer.seen.back(), (PortEvent{Kind::Read, 0xFF, 0x330}));
  EXPECT_EQ(m.EventCount(), Mpu401Model::kEventCapacity);
  EXPECT_TRUE(m.EventsLost());
  m.ClearEvents();
  EXPECT_FALSE(m.EventsLost());
}

TEST(TraceLine, OneLinePerEventInUpperCaseHex) {
  const struct {
    PortEvent event;
    const char* line;
  } cases[] = {
      {{Kind::Write, 0xF0, 0x330}, "OUT 0330 F0\r\n"},
      {{Kind::Read, 0xFE, 0x330}, "IN 0330 FE\r\n"},
      {{Kind::Write, 0x0B, 0xFA3}, "OUT 0FA3 0B\r\n"},
      {{Kind::Read, 0xFF, 0xFFFF}, "IN FFFF FF\r\n"},
      {{Kind::DisableInterrupts, 0, 0}, "CLI\r\n"},
      {{Kind::EnableInterrupts, 0, 0}, "STI\r\n"},
  };
  for (const auto& c : cases) {
    char line[kTraceLineCapacity];
    size_t n = FormatTraceLine(c.event, line);
    EXPECT_EQ(std::string(line, n), c.line);
  }
}
