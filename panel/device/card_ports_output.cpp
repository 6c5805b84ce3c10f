#include "panel/device/card_ports_output.h"

void CardPortsOutput::Send(const uint8_t* message, size_t n) {
  for (size_t i = 0; i < n; ++i) mpu_.WriteData(base_, message[i]);
}

OutputFault CardPortsOutput::TakeNewFault() {
  switch (mpu_.TakeNewFault()) {
    case PortFault::NotResponding:
      return OutputFault::PortNotResponding;
    case PortFault::AccessRefused:
      return OutputFault::PortAccessRefused;
    case PortFault::NoPortDriver:
      return OutputFault::NoPortDriver;
    case PortFault::PortDriverNotRunning:
      return OutputFault::PortDriverNotRunning;
    case PortFault::None:
      break;
  }
  return OutputFault::None;
}
