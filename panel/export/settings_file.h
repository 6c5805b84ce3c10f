#pragma once
// Loading the panel's settings from a file: the whole file is read before anything changes, then
// every setting it holds is taken over the current ones. A file the panel cannot use changes
// nothing, and the outcome says why.
#include <cstddef>
#include <cstdint>

#include "panel/core/panel_settings.h"
#include "panel/export/sysex_file_reader.h"

class ImageMemory;

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

// Reading a whole file: behind an interface, so that tests can give any contents.
class SettingsFileSource {
 public:
  virtual ~SettingsFileSource() = default;
  virtual bool Open(const char* path) = 0;
  // The open file's size; false when the system cannot tell.
  virtual bool Size(uint32_t* size) = 0;
  // Reads exactly `size` bytes from the start; false when fewer arrive.
  virtual bool ReadAll(uint8_t* buffer, uint32_t size) = 0;
  virtual void Close() = 0;
};

// Reads the file at `path` with memory from `memory` and takes its settings over `current`
// into *loaded. *loaded is written only when the outcome is Loaded.
LoadResult LoadSettingsFile(const char* path, SettingsFileSource& source, ImageMemory& memory,
                            const PanelSettings& current, PanelSettings* loaded);
