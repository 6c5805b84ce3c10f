#pragma once
// The panel's portable side wired as in the program, with the software interface in place of the
// card: what the card receives is read back from the model's data-port bytes.
#include <cstdint>
#include <vector>

#include "panel/core/parameter_messages.h"
#include "panel/device/message_sink.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/tests/fake_control_surface.h"

using Bytes = std::vector<uint8_t>;

struct PanelBench {
  PanelSettings settings;
  Mpu401Model card;
  SteppingClock clock;
  MpuPort port{card, clock};
  MessageSink sink{port, settings.Port};
  ParameterMessages messages{settings, sink};
  FakeControlSurface surface;
  PanelController controller{messages, surface};

  // The data-port bytes since the last call, split into system-exclusive messages.
  std::vector<Bytes> TakeMessages();
  // Every data-port byte since the last TakeMessages, as one list.
  Bytes TakeBytes();

 private:
  size_t consumed_ = 0;
};

// The data-set checksum, as the card computes it over address and data.
uint8_t ExpectedChecksum(const Bytes& addressAndData);
// F0 41 10 model 12 address data cs F7.
Bytes ExpectedDataSet(uint8_t model, const Bytes& addressAndData);

// The 35 messages that opening the panel must send for these settings (target Stereo), derived
// from the message rules and the controls' ranges.
std::vector<Bytes> ExpectedStartupPush(const PanelSettings& settings);
