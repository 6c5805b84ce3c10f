#include "panel/core/settings_store.h"

namespace {

bool InRange(const SettingField& field, uint32_t value) {
  return value >= field.minValue && value <= field.maxValue;
}

// The tune's two 7-bit halves are not stored; they follow DTun.
void FollowDigitalTune(PanelSettings& settings) {
  DigitalTuneData(settings.DTun, settings.DigitalBlock + kDigitalTuneMsb);
}

}  // namespace

void LoadSettings(PanelSettings& settings, SettingsStore& store) {
  if (!store.OpenForRead()) return;
  for (const SettingField& field : kSettingFields) {
    uint32_t value = 0;
    // A value outside its field's range would put a byte of 80h or more inside a message (or
    // name no reverb type); it is treated like a missing one.
    if (!store.Read(field.name, &value) || !InRange(field, value)) continue;
    WriteField(settings, field, value);
    if (field.offset == offsetof(PanelSettings, DTun)) FollowDigitalTune(settings);
  }
  store.Close();
}

void SaveSettings(const PanelSettings& settings, SettingsStore& store) {
  if (!store.OpenForWrite()) return;
  for (const SettingField& field : kSettingFields) store.Write(field.name, ReadField(settings, field));
  store.Close();
}
