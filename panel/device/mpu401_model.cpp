#include "panel/device/mpu401_model.h"

#include "panel/device/mpu_port.h"
#include "panel/device/system_exclusive.h"

using namespace mpu401;

namespace {
constexpr uint8_t kNothingThere = 0xFF;  // what a read of an empty bus returns
}  // namespace

Mpu401Model::Mpu401Model(uint16_t base) : base_(base) {}

void Mpu401Model::SetBusyPolls(uint32_t polls) {
  busyPolls_ = polls;
  busyLeft_ = polls;
}

void Mpu401Model::SetStrayBytes(const uint8_t* bytes, size_t n) {
  strayCount_ = n < kStrayCapacity ? n : kStrayCapacity;
  for (size_t i = 0; i < strayCount_; ++i) stray_[i] = bytes[i];
}

void Mpu401Model::SetAbsentAfterWrites(uint32_t writes) {
  writesUntilAbsent_ = writes;
  absentCountdown_ = true;
  if (writes == 0) {
    absent_ = true;
    absentCountdown_ = false;
  }
}

uint8_t Mpu401Model::ReadStatus() {
  ++statusReads_;
  if (absent_) return kNothingThere;
  uint8_t status = 0;
  if (busyLeft_ > 0) {
    --busyLeft_;
    status |= kStatusOutputBusy;
  }
  if (receivedCount_ == 0) status |= kStatusInputEmpty;
  return status;
}

uint8_t Mpu401Model::ReadByte(uint16_t port) {
  if (refused_) return kNothingThere;
  if (port == StatusPortOf(base_)) return ReadStatus();
  if (port == StatusPortOf(PanicPortOf(base_))) {
    // The second register pair only has a transmit side.
    uint8_t status = ReadStatus();
    return absent_ ? status : static_cast<uint8_t>(status | kStatusInputEmpty);
  }
  uint8_t value = kNothingThere;
  if (port == base_ && !absent_ && receivedCount_ > 0) {
    value = received_[receivedHead_];
    receivedHead_ = (receivedHead_ + 1) % kReceiveCapacity;
    --receivedCount_;
  }
  Record(PortEvent::Kind::Read, port, value);
  return value;
}

void Mpu401Model::WriteByte(uint16_t port, uint8_t value) {
  if (refused_) return;
  Record(PortEvent::Kind::Write, port, value);
  if (absent_) return;
  if (port == StatusPortOf(base_)) {
    Command(value);
    AcceptedWrite();
  } else if (port == base_ || port == PanicPortOf(base_)) {
    AcceptedWrite();
  }
}

void Mpu401Model::AcceptedWrite() {
  busyLeft_ = busyPolls_;
  if (absentCountdown_ && --writesUntilAbsent_ == 0) {
    absent_ = true;
    absentCountdown_ = false;
  }
}

void Mpu401Model::Command(uint8_t command) {
  if (command == kCommandReset) {
    // A reset drops whatever was waiting and leaves UART mode; bytes that arrive from outside
    // meanwhile come before the acknowledge.
    receivedHead_ = 0;
    receivedCount_ = 0;
    uart_ = false;
    for (size_t i = 0; i < strayCount_; ++i) Receive(stray_[i]);
    Receive(kReplyAcknowledge);
    return;
  }
  if (uart_) return;  // in UART mode every command but reset is ignored
  if (command == kCommandUartMode) uart_ = true;
  Receive(kReplyAcknowledge);
}

void Mpu401Model::Receive(uint8_t byte) {
  if (receivedCount_ == kReceiveCapacity) return;  // overrun: the byte is lost, as on the device
  received_[(receivedHead_ + receivedCount_) % kReceiveCapacity] = byte;
  ++receivedCount_;
}

void Mpu401Model::DisableInterrupts() {
  if (refused_) return;
  interruptsDisabled_ = true;
  Record(PortEvent::Kind::DisableInterrupts, 0, 0);
}

void Mpu401Model::EnableInterrupts() {
  if (refused_) return;
  interruptsDisabled_ = false;
  Record(PortEvent::Kind::EnableInterrupts, 0, 0);
}

void Mpu401Model::Record(PortEvent::Kind kind, uint16_t port, uint8_t value) {
  PortEvent event{kind, value, port};
  if (eventCount_ < kEventCapacity) {
    events_[eventCount_++] = event;
  } else {
    eventsLost_ = true;
  }
  if (observer_ != nullptr) observer_->OnPortEvent(event);
}

void Mpu401Model::ClearEvents() {
  eventCount_ = 0;
  eventsLost_ = false;
  statusReads_ = 0;
}

size_t Mpu401Model::DataBytes(uint8_t* out, size_t capacity) const {
  size_t count = 0;
  for (size_t i = 0; i < eventCount_; ++i) {
    const PortEvent& e = events_[i];
    if (e.kind != PortEvent::Kind::Write || e.port != base_) continue;
    if (count < capacity) out[count] = e.value;
    ++count;
  }
  return count;
}

size_t Mpu401Model::MessageCount() const { return Message(static_cast<size_t>(-1), nullptr, 0); }

// Walks the data bytes once: returns the length of message `index`, or the number of messages
// when the index is out of range.
size_t Mpu401Model::Message(size_t index, uint8_t* out, size_t capacity) const {
  size_t found = 0;
  size_t length = 0;
  bool inside = false;
  for (size_t i = 0; i < eventCount_; ++i) {
    const PortEvent& e = events_[i];
    if (e.kind != PortEvent::Kind::Write || e.port != base_) continue;
    if (e.value == kSysExStart) {
      inside = true;
      length = 0;
    }
    if (!inside) continue;
    if (found == index && length < capacity) out[length] = e.value;
    ++length;
    if (e.value == kSysExEnd) {
      inside = false;
      if (found == index) return length;
      ++found;
    }
  }
  return index == static_cast<size_t>(-1) ? found : 0;
}
