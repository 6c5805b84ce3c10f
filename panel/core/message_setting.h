#pragma once
// What the bytes of a data set can set: which of the panel's settings the value at one address
// sets, and to what, when it is a value the panel's controls can show. The monitor names what it
// reads here and the settings loaded from a file take it, so both pass over the very same values:
// a key shift beyond -24..+24, a ninth reverb type, a part that would receive on another channel,
// master-tune nibbles that are no slider position.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"

enum class Setting : uint8_t {
  MasterTune,      // value: the slider position, from kMasterTuneDataCount nibbles
  MasterVolume,    // value: the volume, as the GS parameter (the universal message is read apart)
  MasterKeyShift,  // value: the device value, within kKeyShiftRange
  Effect,          // index: the EffectIndex; value: the byte, for the reverb type one of the eight
  ChannelReceive,  // index: the channel; value: 1 when its part receives on its own channel, 0 when on none
  Digital,         // index: the DigitalOffset, a tune half too (one byte of the tune); value: the byte
};

struct MessageSetting {
  Setting setting;
  uint8_t index;
  DigitalTarget target;  // Digital only
  uint16_t value;
  uint8_t length;  // the data bytes it takes: kMasterTuneDataCount for the master tune, else one
};

// Reads the setting whose first byte lies at `address` of `model`, out of the `count` data bytes
// (at least one) from `data` on; false when none the panel can show starts there.
bool ReadMessageSetting(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count,
                        MessageSetting* setting);
