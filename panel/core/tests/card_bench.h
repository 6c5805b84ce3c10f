#pragma once
// The message builders wired as in the program, with the software interface in place of the
// card: what the card receives is read back from the model's data-port bytes.
#include <cstdint>
#include <vector>

#include "panel/core/parameter_messages.h"
#include "panel/device/card_ports_output.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

using Bytes = std::vector<uint8_t>;

struct CardBench {
  PanelSettings settings;
  Mpu401Model card;
  SteppingClock clock;
  MpuPort port{card, clock};
  CardPortsOutput sink{port, settings.Port};
  ParameterMessages messages{settings, sink};

  // The data-port bytes since the last call, split into system-exclusive messages.
  std::vector<Bytes> TakeMessages();
  // Every data-port byte since the last TakeMessages, as one list.
  Bytes TakeBytes();

 private:
  size_t consumed_ = 0;
};
