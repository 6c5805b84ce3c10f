#pragma once
// The card's ports as a way to the card: each message goes to the card byte by byte through the
// MPU-401 data register; "Panic" resets the interface.
#include "panel/device/card_output.h"
#include "panel/device/mpu_port.h"

class CardPortsOutput : public CardOutput {
 public:
  // port: the stored port; only its low 16 bits address ports. No setting changes it while the
  // panel runs.
  CardPortsOutput(MpuPort& mpu, uint32_t port) : mpu_(mpu), base_(static_cast<uint16_t>(port)) {}

  void Send(const uint8_t* message, size_t n) override;
  void Panic() override { mpu_.Panic(base_); }
  FaultToTell& Faults() override { return mpu_.Faults(); }
  // The base port the card is reached at.
  uint16_t Port() const { return base_; }

 private:
  MpuPort& mpu_;
  const uint16_t base_;
};
