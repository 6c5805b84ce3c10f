#pragma once
// Processor I/O-port access, the only way the panel reaches the card.
#include <cstdint>

class PortIo {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~PortIo() = default;

 public:
  virtual uint8_t ReadByte(uint16_t port) = 0;
  virtual void WriteByte(uint16_t port, uint8_t value) = 0;
  virtual void DisableInterrupts() = 0;
  virtual void EnableInterrupts() = 0;
  // True once the system has refused port access (a protected-mode system without a port
  // driver): reads and writes then do nothing.
  virtual bool Refused() const = 0;

  enum class Refusal : uint8_t {
    System,                // the system refuses the processor's port instructions
    NoPortDriver,          // ... and allows port access only through a port-driver library, and
                           // none was found
    PortDriverNotRunning,  // a port-driver library was found, but its driver is not running
  };
  // Why access is refused; asked only once Refused() is true.
  virtual Refusal WhyRefused() const { return Refusal::System; }
};
