// The live message sink: each message reaches the card's data register.
#include "panel/device/card_ports_output.h"

#include <gtest/gtest.h>

#include <vector>

#include "panel/device/mpu401_capture.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

namespace {
const std::vector<uint8_t> kVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
const std::vector<uint8_t> kTune = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00,
                                    0x00, 0x00, 0x04, 0x00, 0x00, 0x3C, 0xF7};

std::vector<uint8_t> Concat(std::vector<uint8_t> head, const std::vector<uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}
}  // namespace

TEST(SinkLive, WritesTheBytesInOrderToTheDataRegisterOfTheLow16BitsOfPort) {
  Mpu401Model model{0x300};
  SteppingClock clock;
  MpuPort mpu{model, clock};
  uint32_t port = 0x00010300;  // only the low 16 bits address ports
  CardPortsOutput sink{mpu, port};
  sink.Send(kVolume.data(), kVolume.size());
  sink.Send(kTune.data(), kTune.size());
  EXPECT_EQ(CapturedDataBytes(model), Concat(kVolume, kTune));
  EXPECT_EQ(CapturedMessages(model), (std::vector<std::vector<uint8_t>>{kVolume, kTune}));
}
