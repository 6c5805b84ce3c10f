#include <gtest/gtest.h>

#include "panel/device/message_sink.h"
#include "panel/device/mpu401_capture.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

TEST(Smoke, LiveMessageReachesModel) {
  Mpu401Model model;
  SteppingClock clock;
  MpuPort mpu(model, clock);
  uint32_t port = 0x330;
  MessageSink sink(mpu, port);
  const uint8_t msg[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x40, 0xF7};
  sink.Send(msg, sizeof msg);
  auto messages = CapturedMessages(model);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::vector<uint8_t>(msg, msg + 8));
}
