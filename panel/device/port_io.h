#pragma once
// Processor I/O-port access, the only way the panel reaches the card.
#include <cstdint>

class PortIo {
 public:
  virtual ~PortIo() = default;
  virtual uint8_t ReadByte(uint16_t port) = 0;
  virtual void WriteByte(uint16_t port, uint8_t value) = 0;
  virtual void DisableInterrupts() = 0;
  virtual void EnableInterrupts() = 0;
  // True once the system has refused port access (a protected-mode system without a port
  // driver): reads and writes then do nothing.
  virtual bool Refused() const = 0;
};

// A millisecond clock for the bounded status waits.
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual uint32_t Milliseconds() = 0;
};
