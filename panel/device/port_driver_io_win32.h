#pragma once
// Port access on every Windows the panel runs on. The 9x family lets a program use the
// processor's own port instructions: they are used there as they always were, with interrupts
// masked around the reset exchange, and no library is ever loaded. The NT family refuses them
// unless a port driver is installed: there the panel looks for a port-driver library once, before
// its first port access (port_driver_search.h), and sends every port read and write through it.
// Such a library cannot mask interrupts, so the reset exchange then runs unmasked; its waits are
// bounded anyway. Without a library, direct access is still tried, since a driver may have opened
// the ports to programs; when that is refused too, the refusal says that a library is missing.
#include "panel/device/direct_port_io_win32.h"
#include "panel/device/port_driver_search.h"

class PortDriverIoWin32 : public PortIo {
 public:
  PortDriverIoWin32();
  ~PortDriverIoWin32();
  PortDriverIoWin32(const PortDriverIoWin32&) = delete;
  PortDriverIoWin32& operator=(const PortDriverIoWin32&) = delete;

  uint8_t ReadByte(uint16_t port) override;
  void WriteByte(uint16_t port, uint8_t value) override;
  void DisableInterrupts() override;
  void EnableInterrupts() override;
  bool Refused() const override;
  Refusal WhyRefused() const override;

 private:
  enum class Route : uint8_t {
    Direct,      // the processor's own instructions
    Library,     // the port-driver library
    NotRunning,  // the library's driver is not running: no port access at all
  };

  SystemFamily family_;
  Route route_ = Route::Direct;
  PortDriver driver_;
  DirectPortIoWin32 direct_;
};
