#pragma once
// The panel's portable side wired as in the program, with the software interface in place of the
// card: what the card receives is read back from the model's data-port bytes.
#include <cstdint>
#include <vector>

#include "panel/core/tests/card_bench.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/tests/fake_control_surface.h"

struct PanelBench : CardBench {
  FakeControlSurface surface;
  PanelController controller{messages, surface};
};

// The data-set checksum, as the card computes it over address and data.
uint8_t ExpectedChecksum(const Bytes& addressAndData);
// F0 41 10 model 12 address data cs F7.
Bytes ExpectedDataSet(uint8_t model, const Bytes& addressAndData);

// The 35 messages that opening the panel must send for these settings (target Stereo), derived
// from the message rules and the controls' ranges.
std::vector<Bytes> ExpectedStartupPush(const PanelSettings& settings);
