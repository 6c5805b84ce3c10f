#include "panel/core/message_setting.h"

#include "panel/core/message_reading.h"

namespace {

bool ReadGs(DataSetAddress address, const uint8_t* data, size_t count, MessageSetting* setting) {
  int position = 0;
  if (address == kMasterTuneAddress && count >= kMasterTuneDataCount && MasterTuneOfData(data, &position)) {
    *setting = {Setting::MasterTune, 0, DigitalTarget::Stereo, static_cast<uint16_t>(position), kMasterTuneDataCount};
    return true;
  }
  if (address == kGsMasterVolumeAddress) {
    *setting = {Setting::MasterVolume, 0, DigitalTarget::Stereo, data[0], 1};
    return true;
  }
  if (address == kKeyShiftAddress && kKeyShiftRange.Contains(data[0])) {
    *setting = {Setting::MasterKeyShift, 0, DigitalTarget::Stereo, data[0], 1};
    return true;
  }
  return false;
}

bool ReadCard(DataSetAddress address, uint8_t value, MessageSetting* setting) {
  int index = 0;
  DigitalTarget target = DigitalTarget::Stereo;
  if (EffectOfAddress(address, &index)) {
    if (index == kReverbType && !kReverbTypeRange.Contains(value)) return false;
    *setting = {Setting::Effect, static_cast<uint8_t>(index), target, value, 1};
    return true;
  }
  if (ChannelOfAddress(address, &index)) {
    // A part receives on its own channel or on none; the panel has no control for any other.
    const bool onItsChannel = value == ChannelReceiveData(index, true);
    if (!onItsChannel && value != ChannelReceiveData(index, false)) return false;
    *setting = {Setting::ChannelReceive, static_cast<uint8_t>(index), target, onItsChannel, 1};
    return true;
  }
  if (DigitalOfAddress(address, &target, &index)) {
    *setting = {Setting::Digital, static_cast<uint8_t>(index), target, value, 1};
    return true;
  }
  return false;
}

}  // namespace

bool ReadMessageSetting(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count,
                        MessageSetting* setting) {
  if (model == kGsModel) return ReadGs(address, data, count, setting);
  if (model == kCardModel) return ReadCard(address, data[0], setting);
  return false;
}
