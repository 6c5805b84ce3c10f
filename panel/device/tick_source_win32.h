#pragma once
// The system's millisecond tick count, for the bounded status waits.
#include "panel/device/tick_source.h"

class TickSourceWin32 : public TickSource {
 public:
  uint32_t Milliseconds() override;
};
