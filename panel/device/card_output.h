#pragma once
// A way to the card: where the panel's messages go (the card's MPU-401 ports, or a MIDI output
// device of the system), with the two things every way offers besides: "Panic", and a fault told
// once.
#include "panel/device/message_sink.h"
#include "panel/device/output_fault.h"

class CardOutput : public MessageSink {
 public:
  // Stops whatever sounds: resets the MPU-401 interface, or every note off on a device.
  virtual void Panic() = 0;
  // The fault, once: the first time it is asked after the fault began; of kind None otherwise.
  // Every way tells its fault by this one rule.
  OutputFault TakeNewFault() { return Faults().TakeNew(); }
  // Where the way keeps its fault (the chosen output: where the chosen way keeps it).
  virtual FaultToTell& Faults() = 0;
};
