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

// A whole file in memory of the reader's own.
struct FileBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// Reads whole files: the system's file handles in the program, files in memory in tests.
class WholeFileReader {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~WholeFileReader() = default;

 public:
  // Reads the file called `path` whole into *bytes: Loaded, or CannotRead, or TooLarge for a file
  // over kLargestSettingsFile (left unread). What a Loaded read gives is handed back with Release.
  virtual LoadOutcome Read(const char* path, FileBytes* bytes) = 0;
  virtual void Release(const FileBytes& bytes) = 0;
};

// Takes the settings that the `size` bytes of a whole file hold over `current` into *loaded;
// *loaded is written only when the outcome is Loaded.
LoadResult TakeSettingsFromFile(const uint8_t* data, size_t size, const PanelSettings& current,
                                PanelSettings* loaded);

// Reads the file called `path` through `files`, then takes its settings as above.
LoadResult LoadSettingsFile(WholeFileReader& files, const char* path, const PanelSettings& current,
                            PanelSettings* loaded);
