#pragma once
// The export's image block as committed read/write pages.
#include "panel/files/image_memory.h"

class PageImageMemory : public ImageMemory {
 public:
  uint8_t* Obtain(size_t size) override;
  void Release(uint8_t* block) override;
};
