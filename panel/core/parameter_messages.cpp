#include "panel/core/parameter_messages.h"

#include <cstring>

namespace {

// Message templates; the builders copy one and fill in its variable bytes.
constexpr uint8_t kMasterVolume[8] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x00, 0xF7};
constexpr uint8_t kMasterTune[14] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
constexpr uint8_t kMasterKeyShift[11] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x05, 0x00, 0x00, 0xF7};
constexpr uint8_t kDeviceParameter[11] = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
constexpr uint8_t kDeviceParameterPair[12] = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00,
                                              0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};

constexpr uint8_t kDefaultReverbType = 4;

// Slider identifiers with a rule of their own in SendControl.
constexpr int kMasterVolumeId = 1000;
constexpr int kMasterTuneId = 1002;
constexpr int kDigitalTuneId = 2022;
constexpr int kFirstEffectId = 3100;
constexpr int kLastEffectId = 3109;

constexpr const char* kReverbTypeNames[kReverbTypeCount] = {
    "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay",
};

struct TargetAddress {
  uint8_t high;
  uint8_t base;
};

TargetAddress AddressOf(DigitalTarget target) {
  switch (target) {
    case DigitalTarget::Left:
      return {0x02, 0x00};
    case DigitalTarget::Right:
      return {0x02, 0x0A};
    default:
      return {0x03, 0x00};
  }
}

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

uint8_t DataByte(int value) { return static_cast<uint8_t>(value & 0x7F); }

// Part byte of the receive-channel message: channel 10 is the rhythm part 0, channels 1..9 are
// parts 1..9 and channels 11..16 keep their index.
uint8_t PartOfChannel(int channel) {
  if (channel < 9) return static_cast<uint8_t>(channel + 1);
  if (channel == 9) return 0;
  return static_cast<uint8_t>(channel);
}

// Leaves the sum of the address and data bytes in the sink's state (the export extends the
// message from it), writes the checksum and hands the message over.
void FinishDataSet(uint8_t* message, size_t n, MessageSink& sink) {
  uint8_t sum = 0;
  for (size_t i = kDataSetAddress; i < n - 2; ++i) sum = static_cast<uint8_t>(sum + message[i]);
  sink.state.checksumSum = sum;
  message[n - 2] = DataSetChecksum(sum);
  sink.Send(message, n);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

const char* ReverbTypeName(int index) {
  if (index < 0 || index >= kReverbTypeCount) return nullptr;
  return kReverbTypeNames[index];
}

const char* DigitalTargetCaption(DigitalTarget target) {
  switch (target) {
    case DigitalTarget::Left:
      return "Le&ft";
    case DigitalTarget::Right:
      return "Ri&ght";
    default:
      return "&Stereo";
  }
}

// Builder inputs come from controls with fixed ranges; a value outside them is clamped (or, for
// an index that names no parameter, ignored) so that no byte of 80h or more gets inside a
// message and no write lands outside the settings blocks.

void ParameterMessages::SendMasterVolume(int value) {
  uint8_t message[sizeof kMasterVolume];
  std::memcpy(message, kMasterVolume, sizeof message);
  settings_.MVol = static_cast<uint8_t>(Clamp(value, 0, 127));
  message[6] = settings_.MVol;
  sink_.Send(message, sizeof message);
}

void ParameterMessages::SendMasterTune(int value) {
  uint8_t message[sizeof kMasterTune];
  std::memcpy(message, kMasterTune, sizeof message);
  settings_.MTun = static_cast<uint16_t>(Clamp(value, 0, 1999));
  const int tune = settings_.MTun + kMasterTuneOffset;
  message[kDataSetFirstData] = static_cast<uint8_t>(tune >> 12);
  message[kDataSetFirstData + 1] = static_cast<uint8_t>((tune >> 8) & 0x0F);
  message[kDataSetFirstData + 2] = static_cast<uint8_t>((tune >> 4) & 0x0F);
  message[kDataSetFirstData + 3] = static_cast<uint8_t>(tune & 0x0F);
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendMasterKeyShift(int value) {
  uint8_t message[sizeof kMasterKeyShift];
  std::memcpy(message, kMasterKeyShift, sizeof message);
  settings_.MTrn = static_cast<uint8_t>(Clamp(value, 40, 88));
  message[kDataSetFirstData] = settings_.MTrn;
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendEffect(int index, int value) {
  if (index < kReverbLevel || index > kChorusDepth) return;
  uint8_t message[sizeof kDeviceParameter];
  std::memcpy(message, kDeviceParameter, sizeof message);
  settings_.EffectsBlock[index] = static_cast<uint8_t>(Clamp(value, 0, 127));
  message[kDataSetAddress + 2] = static_cast<uint8_t>(index);
  message[kDataSetFirstData] = settings_.EffectsBlock[index];
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendReverbType(int index) {
  // No selection (or an unknown type) resends the type in force, so that the message always
  // names one of the eight types.
  if (index < 0 || index > 7) {
    index = settings_.EffectsBlock[kReverbType] <= 7 ? settings_.EffectsBlock[kReverbType] : kDefaultReverbType;
  }
  uint8_t message[sizeof kDeviceParameter];
  std::memcpy(message, kDeviceParameter, sizeof message);
  settings_.EffectsBlock[kReverbType] = static_cast<uint8_t>(index);
  message[kDataSetFirstData] = static_cast<uint8_t>(index);
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendDigital(int offset, int value) {
  if (offset < kDigitalVolume || offset > kDigitalChorus) return;
  uint8_t message[sizeof kDeviceParameter];
  std::memcpy(message, kDeviceParameter, sizeof message);
  const TargetAddress address = AddressOf(target_);
  settings_.DigitalBlock[offset] = DataByte(value);
  message[kDataSetAddress] = address.high;
  message[kDataSetAddress + 2] = static_cast<uint8_t>(address.base + offset);
  message[kDataSetFirstData] = settings_.DigitalBlock[offset];
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendDigitalTune(int value) {
  uint8_t message[sizeof kDeviceParameterPair];
  std::memcpy(message, kDeviceParameterPair, sizeof message);
  const TargetAddress address = AddressOf(target_);
  settings_.DTun = static_cast<uint16_t>(Clamp(value, 0, 16383));
  settings_.DigitalBlock[kDigitalTuneMsb] = DataByte(settings_.DTun >> 7);
  settings_.DigitalBlock[kDigitalTuneLsb] = DataByte(settings_.DTun);
  message[kDataSetAddress] = address.high;
  message[kDataSetAddress + 2] = static_cast<uint8_t>(address.base + kDigitalTuneMsb);
  message[kDataSetFirstData] = settings_.DigitalBlock[kDigitalTuneMsb];
  message[kDataSetFirstData + 1] = settings_.DigitalBlock[kDigitalTuneLsb];
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::ToggleChannel(int channel) {
  if (channel < 0 || channel > 15) return;
  uint8_t message[sizeof kDeviceParameter];
  std::memcpy(message, kDeviceParameter, sizeof message);
  const uint16_t bit = static_cast<uint16_t>(1u << channel);
  const bool wasOn = (settings_.Mute & bit) != 0;
  settings_.Mute = static_cast<uint16_t>(settings_.Mute ^ bit);
  message[kDataSetAddress] = 0x01;
  message[kDataSetAddress + 1] = PartOfChannel(channel);
  message[kDataSetFirstData] = wasOn ? kChannelOff : static_cast<uint8_t>(channel);
  FinishDataSet(message, sizeof message, sink_);
}

void ParameterMessages::SendControl(int id, int position) {
  if (id >= kFirstEffectId && id <= kLastEffectId) {
    SendEffect(id - kFirstEffectId, position);
  } else if (id == kMasterVolumeId) {
    SendMasterVolume(position);
  } else if (id == kMasterTuneId) {
    SendMasterTune(position);
  } else if (id == kDigitalTuneId) {
    SendDigitalTune(position);
  } else {
    SendDigital(id & 0x0F, position);
  }
}

TransposeResult ParameterMessages::ApplyMasterTranspose(const char* text) {
  int number = 0;
  if (!ParseTransposeText(text, &number)) return TransposeResult::NotANumber;
  if (number < -24 || number > 24) {
    SendMasterKeyShift(kKeyShiftCentre);
    return TransposeResult::Reset;
  }
  SendMasterKeyShift(number + kKeyShiftCentre);
  return TransposeResult::Applied;
}

TransposeResult ParameterMessages::ApplyDigitalTranspose(const char* text) {
  int number = 0;
  if (!ParseTransposeText(text, &number)) return TransposeResult::NotANumber;
  if (number < -64 || number > 63) {
    SendDigital(kDigitalTranspose, kDigitalTransposeCentre);
    return TransposeResult::Reset;
  }
  SendDigital(kDigitalTranspose, number + kDigitalTransposeCentre);
  return TransposeResult::Applied;
}

DigitalTarget ParameterMessages::CycleDigitalTarget() {
  switch (target_) {
    case DigitalTarget::Stereo:
      target_ = DigitalTarget::Left;
      break;
    case DigitalTarget::Left:
      target_ = DigitalTarget::Right;
      break;
    default:
      target_ = DigitalTarget::Stereo;
      break;
  }
  return target_;
}

bool ParseTransposeText(const char* text, int* value) {
  // Digits beyond this magnitude cannot change the outcome (out of every range) and would
  // otherwise overflow.
  constexpr int kSaturated = 1000000;
  if (text == nullptr) return false;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (negative) ++p;
  if (!IsDigit(*p)) return false;
  int magnitude = 0;
  for (; IsDigit(*p); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kSaturated) magnitude = kSaturated;
  }
  while (IsBlank(*p)) ++p;
  if (*p != '\0') return false;
  *value = negative ? -magnitude : magnitude;
  return true;
}
