#include "panel/core/settings_store.h"

namespace {

bool InRange(const SettingField& field, uint32_t value) {
  return value >= field.minValue && value <= field.maxValue;
}

}  // namespace

void LoadSettings(PanelSettings& settings, SettingsStore& store, char* outputName) {
  if (outputName != nullptr) outputName[0] = '\0';
  if (!store.OpenForRead()) return;
  for (const SettingField& field : kSettingFields) {
    uint32_t value = 0;
    // A value outside its field's range would put a byte of 80h or more inside a message (or
    // name no reverb type); it is treated like a missing one.
    if (!store.Read(field.name, &value) || !InRange(field, value)) continue;
    WriteField(settings, field, value);
  }
  if (outputName != nullptr && !store.ReadText(kOutputValueName, outputName, kOutputNameCapacity)) outputName[0] = '\0';
  store.Close();
}

void SaveSettings(const PanelSettings& settings, SettingsStore& store, const char* outputName) {
  if (!store.OpenForWrite()) return;
  for (const SettingField& field : kSettingFields) store.Write(field.name, ReadField(settings, field));
  if (outputName != nullptr) store.WriteText(kOutputValueName, outputName);
  store.Close();
}
