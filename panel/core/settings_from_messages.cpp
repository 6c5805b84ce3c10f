#include "panel/core/settings_from_messages.h"

#include <cstring>

#include "panel/core/message_reading.h"

void SettingsFromMessages::Send(const uint8_t* message, size_t n) {
  if (!IsSysExMessage(message, n)) return;
  if (std::memcmp(message, kMasterVolumeHeader, sizeof kMasterVolumeHeader) == 0) {
    if (n != kMasterVolumeLength) return;
    settings_.MVol = message[kMasterVolumeValue];
    ++found_;
    return;
  }
  DataSetView set;
  if (!ReadDataSet(message, n, &set) || set.checksum != set.expected) return;
  if (set.model == kGsModel) {
    TakeGs(set.address, set.data, set.count);
  } else if (set.model == kCardModel) {
    for (size_t i = 0; i < set.count; ++i) TakeCard(AddressAfter(set.address, i), set.data[i]);
  }
}

// The master tune's four nibbles only count together; the volume and the key shift each alone.
void SettingsFromMessages::TakeGs(DataSetAddress address, const uint8_t* data, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const DataSetAddress at = AddressAfter(address, i);
    int position = 0;
    if (at == kMasterTuneAddress && count - i >= kMasterTuneDataCount && MasterTuneOfData(data + i, &position)) {
      settings_.MTun = static_cast<uint16_t>(position);
      i += kMasterTuneDataCount - 1;
    } else if (at == kGsMasterVolumeAddress) {
      settings_.MVol = data[i];
    } else if (at == kKeyShiftAddress && kKeyShiftRange.Contains(data[i])) {
      settings_.MTrn = data[i];
    } else {
      continue;
    }
    ++found_;
  }
}

void SettingsFromMessages::TakeCard(DataSetAddress address, uint8_t value) {
  int index = 0;
  DigitalTarget target = DigitalTarget::Stereo;
  if (EffectOfAddress(address, &index)) {
    if (index == kReverbType && !kReverbTypeRange.Contains(value)) return;
    settings_.EffectsBlock[index] = value;
  } else if (ChannelOfAddress(address, &index)) {
    if (value != ChannelReceiveData(index, true) && value != ChannelReceiveData(index, false)) return;
    const uint16_t bit = static_cast<uint16_t>(1u << index);
    settings_.Mute = static_cast<uint16_t>(value == kChannelOff ? settings_.Mute & ~bit : settings_.Mute | bit);
  } else if (DigitalOfAddress(address, &target, &index)) {
    // One block holds the values of every target.
    if (index == kDigitalTuneMsb) {
      settings_.DTun = static_cast<uint16_t>((value << 7) | (settings_.DTun & 0x7F));
    } else if (index == kDigitalTuneLsb) {
      settings_.DTun = static_cast<uint16_t>((settings_.DTun & ~0x7F) | value);
    } else {
      settings_.DigitalBlock[index] = value;
    }
  } else {
    return;
  }
  ++found_;
}
