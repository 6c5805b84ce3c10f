#include "panel/files/settings_file.h"

#include "panel/core/settings_from_messages.h"

LoadResult TakeSettingsFromFile(const uint8_t* data, size_t size, const PanelSettings& current,
                                PanelSettings* loaded) {
  SettingsFromMessages reader(current);
  const FileFault fault = ReadSysExFile(data, size, reader);
  if (fault != FileFault::None) return {LoadOutcome::Damaged, fault};
  if (reader.Found() == 0) return {LoadOutcome::NoSettings, FileFault::None};
  *loaded = reader.Settings();
  return {LoadOutcome::Loaded, FileFault::None};
}

LoadResult LoadSettingsFile(WholeFileReader& files, const char* path, const PanelSettings& current,
                            PanelSettings* loaded) {
  FileBytes bytes;
  const LoadOutcome read = files.Read(path, &bytes);
  if (read != LoadOutcome::Loaded) return {read, FileFault::None};
  const LoadResult result = TakeSettingsFromFile(bytes.data, bytes.size, current, loaded);
  files.Release(bytes);
  return result;
}
