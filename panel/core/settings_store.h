#pragma once
// Where the settings persist: the per-user registry on Windows, a fake in tests.
#include <cstddef>
#include <cstdint>

#include "panel/core/panel_settings.h"
#include "panel/device/midi_out_api.h"

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
  // Reads one stored text into text (capacity characters with the terminating zero); a missing
  // text, or one that does not fit, fails.
  virtual bool ReadText(const char* /*name*/, char* /*text*/, size_t /*capacity*/) { return false; }
  // Writes one text; failures are not reported.
  virtual void WriteText(const char* /*name*/, const char* /*text*/) {}
  // Closes what OpenForRead or OpenForWrite opened.
  virtual void Close() = 0;
};

// Besides the 23 settings the store keeps the chosen way to the card: the name of a MIDI output
// device (empty: the card's ports). A settings file never carries it.
constexpr char kOutputValueName[] = "MOut";
constexpr size_t kOutputNameCapacity = MidiOutApi::kNameCapacity;

// Loads every stored field that is present and within its field's range; the rest keep their
// current values. With outputName (kOutputNameCapacity characters), also the chosen output: empty
// when none is stored.
void LoadSettings(PanelSettings& settings, SettingsStore& store, char* outputName = nullptr);
// Writes all 23 fields, then, with outputName, the chosen output; nothing when the store cannot
// be opened.
void SaveSettings(const PanelSettings& settings, SettingsStore& store, const char* outputName = nullptr);
