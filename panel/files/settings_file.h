#pragma once
// Loading the panel's settings from a file: the whole file is read before anything changes, then
// every setting it holds is taken over the current ones. A file the panel cannot use changes
// nothing, and the outcome says why.
#include <cstddef>
#include <cstdint>

#include "panel/core/panel_settings.h"
#include "panel/files/sysex_file_reader.h"

// A settings file is small: a larger one is refused unread.
constexpr uint32_t kLargestSettingsFile = 1024 * 1024;

enum class LoadOutcome : uint8_t {
  Loaded,
  CannotRead,  // no such file, or the system could not read it
  TooLarge,    // over kLargestSettingsFile
  Damaged,     // see the file fault
  NoSettings,  // well formed, but none of the panel's settings in it
};

struct LoadResult {
  LoadOutcome outcome;
  FileFault fault;  // what is damaged, for Damaged
};

// Takes the settings that the `size` bytes of a whole file hold over `current` into *loaded;
// *loaded is written only when the outcome is Loaded.
LoadResult TakeSettingsFromFile(const uint8_t* data, size_t size, const PanelSettings& current,
                                PanelSettings* loaded);
