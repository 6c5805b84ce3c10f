#pragma once
// A clock that moves on by a fixed step each time it is read, so that bounded waits end after a
// known number of polls without any real time passing.
#include "panel/device/tick_source.h"

class SteppingClock : public TickSource {
 public:
  explicit SteppingClock(uint32_t step = 1, uint32_t start = 0) : now_(start), step_(step) {}
  uint32_t Milliseconds() override {
    uint32_t now = now_;
    now_ += step_;
    ++reads_;
    return now;
  }
  uint32_t reads() const { return reads_; }

 private:
  uint32_t now_;
  uint32_t step_;
  uint32_t reads_ = 0;
};
