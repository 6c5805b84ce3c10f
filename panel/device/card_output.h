#pragma once
// A way to the card: where the panel's messages go (the card's MPU-401 ports, or a MIDI output
// device of the system), with the two things every way offers besides: "Panic", and a fault told
// once.
#include <cstdint>

#include "panel/device/message_sink.h"

enum class OutputFault : uint8_t {
  None,
  // The card's ports (MpuPort's faults)
  PortNotResponding,
  PortAccessRefused,
  NoPortDriver,
  PortDriverNotRunning,
  // A MIDI output device
  DeviceMissing,    // no device of the chosen name
  DeviceNotOpened,  // it cannot be opened, another program may hold it (FaultCode says why)
  DeviceNotTaking,  // it refused a message or was not done with it in time
};

class CardOutput : public MessageSink {
 public:
  // Stops whatever sounds: resets the MPU-401 interface, or every note off on a device.
  virtual void Panic() = 0;
  // A fault once, the first time it is asked after the fault began; None otherwise.
  virtual OutputFault TakeNewFault() = 0;
};
