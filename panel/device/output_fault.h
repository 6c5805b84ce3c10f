#pragma once
// A fault of a way to the card as one record: what failed and, where a MIDI output device failed,
// the device's name and the system's result code behind it. And the one rule by which every way
// tells its fault: once, the first time it is asked after the fault began.
#include <cstdint>

struct OutputFault {
  enum class Kind : uint8_t {
    None,
    // The card's ports
    PortNotResponding,     // a status wait ran out
    PortAccessRefused,     // the system does not allow direct port access
    NoPortDriver,          // ... only through a port-driver library, and there is none
    PortDriverNotRunning,  // the port-driver library is there, its driver is not running
    // A MIDI output device
    DeviceMissing,    // no device of the chosen name
    DeviceNotOpened,  // it cannot be opened, another program may hold it (systemCode says why)
    DeviceNotTaking,  // it refused a message or was not done with it in time
  };

  Kind kind;
  // A device's: the system's result code behind the fault (0 where there is none), and the
  // device's name as its output keeps it (until it opens another). Zero and null for the ports.
  uint32_t systemCode;
  const char* device;

  bool OfDevice() const { return kind >= Kind::DeviceMissing; }
};

// The fault of one way to the card and whether it was told. While a fault lasts, a later one
// belongs to it; it ends when the way works again (or a device is opened anew), and the next
// fault is a new one, told again.
class FaultToTell {
 public:
  // A fault begins, unless one lasts already. device: the device's name, for a device's fault.
  void Begin(OutputFault::Kind kind, const char* device = nullptr, uint32_t systemCode = 0) {
    if (!Lasts()) fault_ = {kind, systemCode, device};
  }
  void End();
  bool Lasts() const { return fault_.kind != OutputFault::Kind::None; }
  OutputFault::Kind Kind() const { return fault_.kind; }
  // The fault, the first time it is asked after it began; a record of kind None otherwise.
  OutputFault TakeNew();

 private:
  OutputFault fault_ = {};
  bool told_ = false;
};
