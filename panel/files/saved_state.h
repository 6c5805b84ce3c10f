#pragma once
// The messages that bring the card to a saved state, as "Save &MIDI" writes them: whole blocks of
// parameters merged into one data set each. In order: the reverb/delay and chorus block (type
// first), the sixteen channel receive states (channel 16 first), the master block (tune, volume,
// key shift) and the digital-audio block (volume to chorus) at the target's address.
#include <cstddef>

#include "panel/core/message_layout.h"
#include "panel/core/panel_settings.h"
#include "panel/device/message_sink.h"

constexpr size_t kSavedStateMessageCount = 3 + kChannelCount;

// Sends the kSavedStateMessageCount messages for `settings` to `sink`, in file order.
void SendSavedState(const PanelSettings& settings, DigitalTarget target, MessageSink& sink);
