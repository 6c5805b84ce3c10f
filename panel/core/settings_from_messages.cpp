#include "panel/core/settings_from_messages.h"

#include "panel/core/message_reading.h"
#include "panel/core/message_setting.h"

void SettingsFromMessages::Send(const uint8_t* message, size_t n) {
  if (!IsSysExMessage(message, n)) return;
  if (MasterVolumeOfMessage(message, n, &settings_.MVol)) {
    ++found_;
    return;
  }
  DataSetView set;
  if (!ReadDataSet(message, n, &set) || set.checksum != set.expected) return;
  // A data set may hold several settings, at the addresses one after the other.
  for (size_t i = 0; i < set.count;) {
    MessageSetting setting;
    if (ReadMessageSetting(set.model, AddressAfter(set.address, i), set.data + i, set.count - i, &setting)) {
      Take(setting);
      i += setting.length;
    } else {
      ++i;
    }
  }
}

void SettingsFromMessages::Take(const MessageSetting& setting) {
  switch (setting.setting) {
    case Setting::MasterTune:
      settings_.MTun = setting.value;
      break;
    case Setting::MasterVolume:
      settings_.MVol = static_cast<uint8_t>(setting.value);
      break;
    case Setting::MasterKeyShift:
      settings_.MTrn = static_cast<uint8_t>(setting.value);
      break;
    case Setting::Effect:
      settings_.EffectsBlock[setting.index] = static_cast<uint8_t>(setting.value);
      break;
    case Setting::ChannelReceive:
      settings_.SetReceivesOnItsChannel(setting.index, setting.value != 0);
      break;
    case Setting::Digital:
      // One block holds the values of every target; the tune's halves are parts of DTun.
      if (IsDigitalTuneHalf(setting.index)) {
        const uint8_t half = static_cast<uint8_t>(setting.value);
        settings_.DTun = static_cast<uint16_t>(DigitalTuneWithHalf(settings_.DTun, setting.index, half));
      } else {
        settings_.DigitalBlock[setting.index] = static_cast<uint8_t>(setting.value);
      }
      break;
  }
  ++found_;
}
