#pragma once
// Port access on every Windows the panel runs on. The 9x family lets a program use the
// processor's own port instructions: they are used there as they always were, with interrupts
// masked around the reset exchange, and no library is ever loaded. The NT family refuses them
// unless a port driver is installed: there the panel looks for a port-driver library once, at its
// first port access (port_driver_search.h), and sends every port read and write through it. A
// panel that never touches a port (a MIDI output device is its way to the card) looks for none.
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
    Unknown,     // no port touched yet: no library looked for
    Direct,      // the processor's own instructions
    Library,     // the port-driver library
    NotRunning,  // the library's driver is not running: no port access at all
  };

  // Decides the route at the first port access.
  void FindRoute();

  SystemFamily family_;
  Route route_ = Route::Unknown;
  PortDriver driver_;
  DirectPortIoWin32 direct_;
};
