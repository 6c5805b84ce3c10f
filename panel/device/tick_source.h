#pragma once
// A millisecond clock: what every bounded wait of the ways to the card measures its time with
// (the MPU-401 status waits, a MIDI output device's wait for its buffer).
#include <cstdint>

class TickSource {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~TickSource() = default;

 public:
  virtual uint32_t Milliseconds() = 0;
};
