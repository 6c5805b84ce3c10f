#pragma once
// The builders wired to a software MPU-401 interface in live mode, so tests see the bytes that
// reach the card's data register, message by message.
#include <cstdint>
#include <vector>

#include "panel/core/parameter_messages.h"
#include "panel/device/card_ports_output.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

using Bytes = std::vector<uint8_t>;

struct MessageCapture {
  PanelSettings settings;
  Mpu401Model card{0x330};
  SteppingClock clock;
  MpuPort port{card, clock};
  CardPortsOutput sink{port, settings.Port};
  ParameterMessages messages{settings, sink};

  // Every message that reached the card since the last Take, in order.
  std::vector<Bytes> Take() {
    std::vector<Bytes> out;
    const size_t count = card.MessageCount();
    for (size_t i = 0; i < count; ++i) {
      Bytes m(64);
      m.resize(card.Message(i, m.data(), m.size()));
      out.push_back(m);
    }
    card.ClearEvents();
    return out;
  }
};

// A data-set checksum, computed from the message alone: the address and data bytes lie after
// F0 41 10 <model> 12 and before the checksum.
inline uint8_t AddressAndDataSum(const Bytes& m) {
  unsigned sum = 0;
  for (size_t i = 5; i + 2 < m.size(); ++i) sum += m[i];
  return static_cast<uint8_t>(sum % 256);
}

inline bool ChecksumIsRight(const Bytes& m) {
  if (m.size() < 8) return false;
  const unsigned s = AddressAndDataSum(m);
  return m[m.size() - 2] == (128 - s % 128) % 128;
}
