#pragma once
// The panel's one settings record: every value the panel shows, sends to the card and exports.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"

struct PanelSettings {
  uint32_t Port = 0x330;               // I/O base of the MPU-401 interface; only the low 16 bits address ports
  uint8_t MVol = 127;                  // master volume
  uint8_t MTrn = kKeyShiftCentre;      // master key shift as device value 40..88 (shown as -24..+24)
  uint16_t MTun = kMasterTuneCentre;   // master tune slider position 0..1999
  uint16_t DTun = kDigitalTuneCentre;  // digital-audio tune, 14 bits
  uint16_t Mute = 0xFFFF;              // bit n set: the part of channel n+1 receives on its own channel

  // Digital-audio parameters, indexed by their device offset (DigitalOffset, +2..+10); offsets 0
  // and 1 hold no parameter, and +6/+7 neither: the tune's two halves are made from DTun.
  uint8_t DigitalBlock[kDigitalBlockSize] = {0, 0, 127, 127, 2, 0, 0, 0, 64, 100, 0};

  // Reverb/delay and chorus parameters in device order (EffectIndex, device address 00 00 index).
  uint8_t EffectsBlock[kEffectCount] = {kDefaultReverbType, 64, 64, 64, 0, 64, 19, 19, 3, 19};

  // Whether the part of channel index 0..15 receives on its own channel (else it receives nothing).
  constexpr bool ReceivesOnItsChannel(int channel) const {
    return channel >= 0 && channel < kChannelCount && ((Mute >> channel) & 1) != 0;
  }
  // channel: 0..15.
  void SetReceivesOnItsChannel(int channel, bool onItsChannel) {
    const uint16_t bit = static_cast<uint16_t>(1u << channel);
    Mute = static_cast<uint16_t>(onItsChannel ? Mute | bit : Mute & ~bit);
  }
};

// The settings of a first run. A copy of it starts a run: the compiler would otherwise build
// defaults from a writable image of its own.
extern const PanelSettings kDefaultSettings;

// One persisted field: its four-letter value name, its width in bytes, where it lives in
// PanelSettings and which stored values are acceptable.
struct SettingField {
  char name[5];
  uint8_t width;         // 1, 2 or 4 bytes
  uint16_t offset;       // byte offset inside PanelSettings
  uint32_t minValue;     // values outside minValue..maxValue keep the field's current value
  uint32_t maxValue;
};

constexpr size_t kSettingFieldCount = 23;

// The 23 persisted fields in the order in which they are read and written.
extern const SettingField kSettingFields[kSettingFieldCount];

uint32_t ReadField(const PanelSettings& settings, const SettingField& field);
void WriteField(PanelSettings& settings, const SettingField& field, uint32_t value);
