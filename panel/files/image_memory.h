#pragma once
// Where the export's file image lives while it is built: one block of committed pages, obtained
// and released within one button press. Behind an interface so a test can refuse the memory.
#include <cstddef>
#include <cstdint>

class ImageMemory {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~ImageMemory() = default;

 public:
  // A zero-filled, writable block of `size` bytes, or null when the system has none to give.
  virtual uint8_t* Obtain(size_t size) = 0;
  virtual void Release(uint8_t* block) = 0;
};
