// The port protocol against an interface that answers anything at all (and a clock of any
// pace): every call ends, the interrupt mask is always restored before a call returns, and once a
// fault is marked a data write touches no register.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "panel/device/mpu_port.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}

class ScriptedIo : public PortIo {
 public:
  ScriptedIo(const uint8_t* answers, size_t count, uint32_t refuseAt)
      : answers_(answers), count_(count), refuseAt_(refuseAt) {}
  uint8_t ReadByte(uint16_t) override {
    if (Access()) return 0xFF;
    return count_ == 0 ? 0xFF : answers_[reads_++ % count_];
  }
  void WriteByte(uint16_t, uint8_t) override { Access(); }
  void DisableInterrupts() override {
    Check(!masked);
    masked = true;
  }
  void EnableInterrupts() override {
    Check(masked);
    masked = false;
  }
  bool Refused() const override { return refused_; }

  uint64_t accesses = 0;
  bool masked = false;

 private:
  bool Access() {
    ++accesses;
    if (refuseAt_ != 0 && accesses >= refuseAt_) refused_ = true;
    return refused_;
  }
  const uint8_t* answers_;
  size_t count_;
  size_t reads_ = 0;
  uint32_t refuseAt_;
  bool refused_ = false;
};

class PacedClock : public TickSource {
 public:
  explicit PacedClock(uint32_t step) : step_(step) {}
  uint32_t Milliseconds() override { return now_ += step_; }

 private:
  uint32_t now_ = 0xFFFFFF00u;  // wraps around during the run
  uint32_t step_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint8_t* ops = data;
  const size_t opCount = size < 16 ? size : 16;
  const uint32_t step = 1 + data[1] % 64;  // a clock that never moves is covered by a unit test
  const uint32_t refuseAt = data[2] < 0x40 ? data[2] : 0;
  ScriptedIo io(data + 3, size - 3, refuseAt);
  PacedClock clock(step);
  MpuPort mpu(io, clock);

  for (size_t i = 0; i < opCount; ++i) {
    const uint64_t before = io.accesses;
    const bool faulted = !mpu.Responding();
    switch (ops[i] % 4) {
      case 0:
      case 1:
        mpu.WriteData(0x330, ops[i]);
        if (faulted) Check(io.accesses == before);
        break;
      case 2:
        mpu.Panic(0x330);
        break;
      case 3:
        mpu.ResetToUart(0x330);
        break;
    }
    Check(!io.masked);
    if (io.Refused()) Check(mpu.Fault() == PortFault::AccessRefused);
  }
  return 0;
}
