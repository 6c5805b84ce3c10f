#pragma once
// Port access with the processor's own in/out (and cli/sti) instructions. Systems of the card's
// era let a program do that; protected systems without a port driver (and Wine) refuse the
// instruction with a privileged-instruction exception. That exception, raised by one of our own
// instructions and nothing else, is caught and the instruction skipped: access then counts as
// refused, and later reads and writes do nothing.
#include "panel/device/port_io.h"

class DirectPortIoWin32 : public PortIo {
 public:
  // Vectored exception handlers are used where the system has them; otherwise (or when
  // `vectoredHandler` is false, which lets tests take the older path) the process-wide
  // unhandled-exception filter. The first instance alive decides.
  explicit DirectPortIoWin32(bool vectoredHandler = true);
  ~DirectPortIoWin32();
  DirectPortIoWin32(const DirectPortIoWin32&) = delete;
  DirectPortIoWin32& operator=(const DirectPortIoWin32&) = delete;

  uint8_t ReadByte(uint16_t port) override;
  void WriteByte(uint16_t port, uint8_t value) override;
  // A refused cli/sti only means the interrupt mask cannot be changed from here; it does not
  // make port access refused.
  void DisableInterrupts() override;
  void EnableInterrupts() override;
  bool Refused() const override { return refused_; }

 private:
  bool refused_ = false;
};
