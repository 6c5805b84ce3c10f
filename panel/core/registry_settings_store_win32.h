#pragma once
// The settings in the per-user registry: key "Software\Tambrel" under HKEY_CURRENT_USER, one
// REG_DWORD per field, and a REG_SZ per text.
#include <windows.h>

#include "panel/core/settings_store.h"

class RegistrySettingsStore : public SettingsStore {
 public:
  RegistrySettingsStore() = default;
  ~RegistrySettingsStore() { Close(); }
  RegistrySettingsStore(const RegistrySettingsStore&) = delete;
  RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

  bool OpenForRead() override;
  bool Read(const char* name, uint32_t* value) override;
  bool OpenForWrite() override;
  void Write(const char* name, uint32_t value) override;
  bool ReadText(const char* name, char* text, size_t capacity) override;
  void WriteText(const char* name, const char* text) override;
  void Close() override;

 private:
  HKEY key_ = nullptr;
};
