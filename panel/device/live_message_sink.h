#pragma once
// The message sink of a running panel: each message goes to the card, byte by byte, through the
// MPU-401 data register.
#include "panel/device/message_sink.h"
#include "panel/device/mpu_port.h"

class LiveMessageSink : public MessageSink {
 public:
  // port: the settings' base address, read at each send; only its low 16 bits address ports.
  LiveMessageSink(MpuPort& mpu, const uint32_t& port) : mpu_(mpu), port_(port) {}

  void Send(const uint8_t* message, size_t n) override;

 private:
  MpuPort& mpu_;
  const uint32_t& port_;
};
