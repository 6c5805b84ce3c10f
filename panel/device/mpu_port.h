#pragma once
// The MPU-401 UART register protocol: data writes with the status handshake, the reset into UART
// mode and the "Panic" sequence. Every wait is bounded; an interface that stops answering is
// marked as not responding and later writes are dropped until Panic finds it again.
#include <cstdint>

#include "panel/device/output_fault.h"
#include "panel/device/port_io.h"
#include "panel/device/tick_source.h"

namespace mpu401 {
// The registers from the base port: data at base, status (read) and command (write) one above.
// A second pair three above takes only the "Panic" byte, with its status one above that.
constexpr uint16_t kStatusOffset = 1;
constexpr uint16_t kPanicOffset = 3;
constexpr uint16_t StatusPortOf(uint16_t dataPort) { return static_cast<uint16_t>(dataPort + kStatusOffset); }
constexpr uint16_t PanicPortOf(uint16_t base) { return static_cast<uint16_t>(base + kPanicOffset); }
constexpr uint8_t kStatusOutputBusy = 0x40;  // set: the interface cannot take a byte now
constexpr uint8_t kStatusInputEmpty = 0x80;  // set: no received byte is waiting
constexpr uint8_t kCommandReset = 0xFF;
constexpr uint8_t kCommandUartMode = 0x3F;
constexpr uint8_t kReplyAcknowledge = 0xFE;
constexpr uint32_t kWaitLimitMs = 200;
// Also ends a wait whose clock does not move (interrupts disabled on a system whose tick count
// then stands still); far more polls than 200 ms of bus reads.
constexpr uint32_t kWaitPollLimit = 1000000;
constexpr uint8_t kPanicByte = 0x80;
}  // namespace mpu401

class MpuPort {
 public:
  MpuPort(PortIo& io, TickSource& clock);

  void WriteData(uint16_t base, uint8_t byte);
  // Runs even when the interface was marked as not responding; clears the mark when it answers.
  // Interrupts are disabled only around the reset exchange and always enabled again.
  void ResetToUart(uint16_t base);
  // Writes 80h at base+3 (handshake on base+4), then resets the interface at base. Always runs,
  // even when the interface was marked as not responding; sending resumes when it answers.
  void Panic(uint16_t base);

  bool Responding() const { return !fault_.Lasts(); }
  // One of the port kinds, or None.
  OutputFault::Kind Fault() const { return fault_.Kind(); }
  // The fault and whether it was told. A reset or Panic that does not get an answer belongs to the
  // fault that lasts.
  FaultToTell& Faults() { return fault_; }

 private:
  bool WaitStatusClear(uint16_t statusPort, uint8_t bit);
  bool Transmit(uint16_t dataPort, uint8_t byte);
  bool ResetExchange(uint16_t base);
  bool AwaitAcknowledge(uint16_t base);
  bool BeginRetry();
  void EndRetry(bool answered);
  bool CheckRefused();

  PortIo& io_;
  TickSource& clock_;
  FaultToTell fault_;
};
