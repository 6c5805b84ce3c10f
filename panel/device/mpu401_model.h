#pragma once
// A software MPU-401 interface: stands in for the card in tests and in the simulator build of the
// panel. It answers the register protocol like a real UART-mode interface and records every port
// event in order, so a test (or the trace file) can see exactly what the card would have seen.
#include <cstddef>
#include <cstdint>

#include "panel/device/port_io.h"

struct PortEvent {
  enum class Kind : uint8_t { Write, Read, DisableInterrupts, EnableInterrupts };
  Kind kind;
  uint8_t value;  // the byte written or read; 0 for the interrupt events
  uint16_t port;  // 0 for the interrupt events

  bool operator==(const PortEvent&) const = default;
};

// Sees each recorded event as it happens (the simulator writes its trace file from this).
class PortEventObserver {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~PortEventObserver() = default;

 public:
  virtual void OnPortEvent(const PortEvent& event) = 0;
};

class Mpu401Model : public PortIo {
 public:
  static constexpr size_t kEventCapacity = 16384;
  static constexpr size_t kStrayCapacity = 16;
  static constexpr size_t kReceiveCapacity = kStrayCapacity + 4;

  explicit Mpu401Model(uint16_t base = 0x330);

  // --- behaviour of the modelled interface ---
  // Absent: nothing answers at the address; every status read gives FFh (never ready) and data
  // reads give FFh. May be switched at any time (a card that stops answering, or comes back).
  void SetAbsent(bool absent) { absent_ = absent; }
  // Each write (at base, base+1 or base+3) becomes possible only after this many status polls
  // that report busy.
  void SetBusyPolls(uint32_t polls);
  // Bytes the interface has received from outside and hands out before the FEh that answers the
  // next reset command (at most kStrayCapacity are kept).
  void SetStrayBytes(const uint8_t* bytes, size_t n);
  // The interface goes absent right after this many more writes have been accepted.
  void SetAbsentAfterWrites(uint32_t writes);
  // Behaves like a system that refuses direct port access: Refused() is true, nothing is
  // recorded, reads give FFh.
  void SetRefused(bool refused) { refused_ = refused; }
  void SetObserver(PortEventObserver* observer) { observer_ = observer; }

  // --- PortIo ---
  uint8_t ReadByte(uint16_t port) override;
  void WriteByte(uint16_t port, uint8_t value) override;
  void DisableInterrupts() override;
  void EnableInterrupts() override;
  bool Refused() const override { return refused_; }

  // --- inspection ---
  uint16_t Base() const { return base_; }
  bool InUartMode() const { return uart_; }
  bool InterruptsDisabled() const { return interruptsDisabled_; }
  // Status polls of base+1 and base+4; they are not part of the event list.
  uint32_t StatusReads() const { return statusReads_; }
  // Events are kept in order up to kEventCapacity; later ones reach the observer only.
  size_t EventCount() const { return eventCount_; }
  const PortEvent& Event(size_t index) const { return events_[index]; }
  bool EventsLost() const { return eventsLost_; }
  void ClearEvents();

  // The bytes written to the data register (base), in order; returns how many there are and
  // copies at most `capacity` of them.
  size_t DataBytes(uint8_t* out, size_t capacity) const;
  // The data bytes grouped into system-exclusive messages (F0 up to and including F7).
  size_t MessageCount() const;
  // Copies message `index`; returns its length (0 when there is no such message).
  size_t Message(size_t index, uint8_t* out, size_t capacity) const;

 private:
  uint8_t ReadStatus();
  void Command(uint8_t command);
  void Receive(uint8_t byte);
  void Record(PortEvent::Kind kind, uint16_t port, uint8_t value);
  void AcceptedWrite();

  uint16_t base_;
  bool absent_ = false;
  bool refused_ = false;
  bool uart_ = true;  // the panel expects the interface to be in UART mode already
  bool interruptsDisabled_ = false;
  uint32_t busyPolls_ = 0;
  uint32_t busyLeft_ = 0;
  uint32_t writesUntilAbsent_ = 0;
  bool absentCountdown_ = false;
  uint32_t statusReads_ = 0;
  PortEventObserver* observer_ = nullptr;

  uint8_t stray_[kStrayCapacity] = {};
  size_t strayCount_ = 0;
  uint8_t received_[kReceiveCapacity] = {};
  size_t receivedHead_ = 0;
  size_t receivedCount_ = 0;

  PortEvent events_[kEventCapacity];
  size_t eventCount_ = 0;
  bool eventsLost_ = false;
};
