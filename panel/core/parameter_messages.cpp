#include "panel/core/parameter_messages.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Builder inputs come from controls with fixed ranges; a value outside them is clamped (or, for
// an index that names no parameter, ignored) so that no byte of 80h or more gets inside a
// message and no write lands outside the settings blocks.

void ParameterMessages::SendDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count) {
  uint8_t message[kLongestMessage];
  sink_.Send(message, WriteDataSet(model, address, data, count, message));
}

void ParameterMessages::SendMasterVolume(int value) {
  uint8_t message[kMasterVolumeLength];
  settings_.MVol = static_cast<uint8_t>(kDataByteRange.Clamp(value));
  WriteMasterVolume(settings_.MVol, message);
  sink_.Send(message, sizeof message);
}

void ParameterMessages::SendMasterTune(int value) {
  settings_.MTun = static_cast<uint16_t>(kMasterTuneRange.Clamp(value));
  uint8_t data[kMasterTuneDataCount];
  MasterTuneData(settings_.MTun, data);
  SendDataSet(kGsModel, kMasterTuneAddress, data, sizeof data);
}

void ParameterMessages::SendMasterKeyShift(int value) {
  settings_.MTrn = static_cast<uint8_t>(kKeyShiftRange.Clamp(value));
  SendDataSet(kGsModel, kKeyShiftAddress, &settings_.MTrn, 1);
}

void ParameterMessages::SendEffect(int index, int value) {
  if (index < kReverbLevel || index > kChorusDepth) return;
  settings_.EffectsBlock[index] = static_cast<uint8_t>(kDataByteRange.Clamp(value));
  SendDataSet(kCardModel, EffectAddress(index), &settings_.EffectsBlock[index], 1);
}

void ParameterMessages::SendReverbType(int index) {
  // No selection (or an unknown type) resends the type in force, so that the message always
  // names one of the eight types.
  if (!kReverbTypeRange.Contains(index)) {
    const int stored = settings_.EffectsBlock[kReverbType];
    index = kReverbTypeRange.Contains(stored) ? stored : kDefaultReverbType;
  }
  settings_.EffectsBlock[kReverbType] = static_cast<uint8_t>(index);
  SendDataSet(kCardModel, EffectAddress(kReverbType), &settings_.EffectsBlock[kReverbType], 1);
}

void ParameterMessages::SendDigital(int offset, int value) {
  if (!kDigitalOffsets.Contains(offset) || IsDigitalTuneHalf(offset)) return;
  settings_.DigitalBlock[offset] = DataByte(value);
  SendDataSet(kCardModel, DigitalAddress(target_, offset), &settings_.DigitalBlock[offset], 1);
}

void ParameterMessages::SendDigitalTune(int value) {
  settings_.DTun = static_cast<uint16_t>(kDigitalTuneRange.Clamp(value));
  uint8_t data[kDigitalTuneDataCount];
  DigitalTuneData(settings_.DTun, data);
  SendDataSet(kCardModel, DigitalAddress(target_, kDigitalTuneMsb), data, sizeof data);
}

void ParameterMessages::SendChannelReceive(int channel, bool onItsChannel) {
  if (channel < 0 || channel >= kChannelCount) return;
  settings_.SetReceivesOnItsChannel(channel, onItsChannel);
  const uint8_t receive = ChannelReceiveData(channel, onItsChannel);
  SendDataSet(kCardModel, ChannelAddress(channel), &receive, 1);
}

TransposeResult ParameterMessages::ApplyMasterTranspose(const char* text) {
  int number = 0;
  if (!ParseTransposeText(text, &number)) return TransposeResult::NotANumber;
  if (!kMasterTransposeShown.Contains(number)) {
    SendMasterKeyShift(kKeyShiftCentre);
    return TransposeResult::Reset;
  }
  SendMasterKeyShift(number + kKeyShiftCentre);
  return TransposeResult::Applied;
}

TransposeResult ParameterMessages::ApplyDigitalTranspose(const char* text) {
  int number = 0;
  if (!ParseTransposeText(text, &number)) return TransposeResult::NotANumber;
  if (!kDigitalTransposeShown.Contains(number)) {
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
