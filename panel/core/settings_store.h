#pragma once
// Where the settings persist: the per-user registry on Windows, a fake in tests.
#include <cstdint>

#include "panel/core/panel_settings.h"

class SettingsStore {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~SettingsStore() = default;

 public:

  // Opens the existing settings for reading; false when there are none (first run).
  virtual bool OpenForRead() = 0;
  // Reads one stored value. A value shorter than 4 bytes arrives zero-extended; a missing or
  // longer value fails.
  virtual bool Read(const char* name, uint32_t* value) = 0;
  // Creates or opens the settings for writing; false when they cannot be created.
  virtual bool OpenForWrite() = 0;
  // Writes one value; failures are not reported.
  virtual void Write(const char* name, uint32_t value) = 0;
  // Closes what OpenForRead or OpenForWrite opened.
  virtual void Close() = 0;
};

// Loads every stored field that is present and within its field's range; the rest keep their
// current values.
void LoadSettings(PanelSettings& settings, SettingsStore& store);
// Writes all 23 fields; nothing when the store cannot be opened.
void SaveSettings(const PanelSettings& settings, SettingsStore& store);
