#include "panel/device/mpu_port.h"

using namespace mpu401;

namespace {
OutputFault::Kind FaultOf(PortIo::Refusal refusal) {
  switch (refusal) {
    case PortIo::Refusal::NoPortDriver:
      return OutputFault::Kind::NoPortDriver;
    case PortIo::Refusal::PortDriverNotRunning:
      return OutputFault::Kind::PortDriverNotRunning;
    case PortIo::Refusal::System:
      break;
  }
  return OutputFault::Kind::PortAccessRefused;
}
}  // namespace

MpuPort::MpuPort(PortIo& io, TickSource& clock) : io_(io), clock_(clock) {}

void MpuPort::WriteData(uint16_t base, uint8_t byte) {
  // Once the interface stopped answering, waiting again for every byte would freeze the panel.
  if (fault_.Lasts()) return;
  Transmit(base, byte);
}

void MpuPort::ResetToUart(uint16_t base) {
  if (!BeginRetry()) return;
  EndRetry(ResetExchange(base));
}

void MpuPort::Panic(uint16_t base) {
  if (!BeginRetry()) return;
  bool answered = Transmit(PanicPortOf(base), kPanicByte) && ResetExchange(base);
  EndRetry(answered);
}

bool MpuPort::Transmit(uint16_t dataPort, uint8_t byte) {
  if (!WaitStatusClear(StatusPortOf(dataPort), kStatusOutputBusy)) return false;
  io_.WriteByte(dataPort, byte);
  return !CheckRefused();
}

bool MpuPort::ResetExchange(uint16_t base) {
  const uint16_t status = StatusPortOf(base);
  if (!WaitStatusClear(status, kStatusOutputBusy)) return false;
  io_.DisableInterrupts();
  io_.WriteByte(status, kCommandReset);
  bool answered = !CheckRefused() && AwaitAcknowledge(base) &&
                  WaitStatusClear(status, kStatusOutputBusy);
  if (answered) {
    io_.WriteByte(status, kCommandUartMode);
    answered = !CheckRefused();
  }
  io_.EnableInterrupts();
  return answered;
}

// Bytes that arrive before the acknowledge are discarded. One time limit covers the whole search,
// so an interface that keeps sending other bytes cannot hold the panel either.
bool MpuPort::AwaitAcknowledge(uint16_t base) {
  const uint16_t status = StatusPortOf(base);
  const uint32_t start = clock_.Milliseconds();
  for (uint32_t polls = 1;; ++polls) {
    uint8_t flags = io_.ReadByte(status);
    if (CheckRefused()) return false;
    if ((flags & kStatusInputEmpty) == 0) {
      uint8_t reply = io_.ReadByte(base);
      if (CheckRefused()) return false;
      if (reply == kReplyAcknowledge) return true;
    }
    if (clock_.Milliseconds() - start >= kWaitLimitMs || polls >= kWaitPollLimit) {
      fault_.Begin(OutputFault::Kind::PortNotResponding);
      return false;
    }
  }
}

bool MpuPort::WaitStatusClear(uint16_t statusPort, uint8_t bit) {
  uint32_t start = 0;
  for (uint32_t polls = 1;; ++polls) {
    uint8_t flags = io_.ReadByte(statusPort);
    if (CheckRefused()) return false;
    if ((flags & bit) == 0) return true;
    // The clock is read only once the interface is busy: the usual ready answer costs one read.
    if (polls == 1) {
      start = clock_.Milliseconds();
    } else if (clock_.Milliseconds() - start >= kWaitLimitMs || polls >= kWaitPollLimit) {
      fault_.Begin(OutputFault::Kind::PortNotResponding);
      return false;
    }
  }
}

// A reset or Panic is the user's way back: it runs even while a fault lasts. Refusal by the
// system is final, so then nothing is tried.
bool MpuPort::BeginRetry() { return !CheckRefused(); }

void MpuPort::EndRetry(bool answered) {
  // A retry that fails again belongs to the fault the user was already told about.
  if (answered) fault_.End();
}

bool MpuPort::CheckRefused() {
  if (!io_.Refused()) return false;
  fault_.Begin(FaultOf(io_.WhyRefused()));
  return true;
}
