#include "panel/device/card_ports_output.h"

void CardPortsOutput::Send(const uint8_t* message, size_t n) {
  for (size_t i = 0; i < n; ++i) mpu_.WriteData(base_, message[i]);
}
