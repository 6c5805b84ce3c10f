#include "panel/device/live_message_sink.h"

void LiveMessageSink::Send(const uint8_t* message, size_t n) {
  for (size_t i = 0; i < n; ++i) mpu_.WriteData(base_, message[i]);
}
