#include "panel/core/panel_settings.h"

#include <cstring>

const PanelSettings kDefaultSettings{};

namespace {

constexpr uint16_t kDigital = offsetof(PanelSettings, DigitalBlock);
constexpr uint16_t kEffects = offsetof(PanelSettings, EffectsBlock);
constexpr uint32_t kByteMax = kDataByteRange.high;

constexpr uint32_t Low(ValueRange range) { return static_cast<uint32_t>(range.low); }
constexpr uint32_t High(ValueRange range) { return static_cast<uint32_t>(range.high); }

}  // namespace

// The ranges keep every stored value that reaches a message a 7-bit data byte (or, for the
// wider fields, a value whose message bytes are all 7-bit), and `RTyp` one of the eight types.
// `Port` and `Mute` load as stored (`Mute` takes the low word): every value is a valid state.
const SettingField kSettingFields[kSettingFieldCount] = {
    {"Port", 4, offsetof(PanelSettings, Port), 0, 0xFFFFFFFFu},
    {"MVol", 1, offsetof(PanelSettings, MVol), 0, kByteMax},
    {"MTrn", 1, offsetof(PanelSettings, MTrn), Low(kKeyShiftRange), High(kKeyShiftRange)},
    {"MTun", 2, offsetof(PanelSettings, MTun), Low(kMasterTuneRange), High(kMasterTuneRange)},
    {"DTun", 2, offsetof(PanelSettings, DTun), Low(kDigitalTuneRange), High(kDigitalTuneRange)},
    {"Mute", 2, offsetof(PanelSettings, Mute), 0, 0xFFFFFFFFu},
    {"DCho", 1, kDigital + kDigitalChorus, 0, kByteMax},
    {"DRev", 1, kDigital + kDigitalReverb, 0, kByteMax},
    {"DPan", 1, kDigital + kDigitalPan, 0, kByteMax},
    {"DTrn", 1, kDigital + kDigitalTranspose, 0, kByteMax},
    {"DRat", 1, kDigital + kDigitalRate, 0, kByteMax},
    {"DBrt", 1, kDigital + kDigitalBrightness, 0, kByteMax},
    {"DVol", 1, kDigital + kDigitalVolume, 0, kByteMax},
    {"CDep", 1, kEffects + kChorusDepth, 0, kByteMax},
    {"CRat", 1, kEffects + kChorusRate, 0, kByteMax},
    {"CDel", 1, kEffects + kChorusDelay, 0, kByteMax},
    {"CFed", 1, kEffects + kChorusFeedback, 0, kByteMax},
    {"CLev", 1, kEffects + kChorusLevel, 0, kByteMax},
    {"DFed", 1, kEffects + kDelayFeedback, 0, kByteMax},
    {"DTim", 1, kEffects + kDelayTime, 0, kByteMax},
    {"RDec", 1, kEffects + kReverbDecay, 0, kByteMax},
    {"RLev", 1, kEffects + kReverbLevel, 0, kByteMax},
    {"RTyp", 1, kEffects + kReverbType, Low(kReverbTypeRange), High(kReverbTypeRange)},
};

// The table addresses fields by byte offset; memcpy keeps those accesses well defined.
uint32_t ReadField(const PanelSettings& settings, const SettingField& field) {
  const unsigned char* base = reinterpret_cast<const unsigned char*>(&settings);
  switch (field.width) {
    case 1:
      return base[field.offset];
    case 2: {
      uint16_t value;
      std::memcpy(&value, base + field.offset, sizeof value);
      return value;
    }
    default: {
      uint32_t value;
      std::memcpy(&value, base + field.offset, sizeof value);
      return value;
    }
  }
}

void WriteField(PanelSettings& settings, const SettingField& field, uint32_t value) {
  unsigned char* base = reinterpret_cast<unsigned char*>(&settings);
  switch (field.width) {
    case 1:
      base[field.offset] = static_cast<unsigned char>(value);
      break;
    case 2: {
      uint16_t narrow = static_cast<uint16_t>(value);
      std::memcpy(base + field.offset, &narrow, sizeof narrow);
      break;
    }
    default:
      std::memcpy(base + field.offset, &value, sizeof value);
      break;
  }
}
