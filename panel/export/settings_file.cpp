#include "panel/export/settings_file.h"

#include "panel/core/settings_from_messages.h"
#include "panel/export/image_memory.h"

namespace {

LoadResult ReadInto(SettingsFileSource& source, ImageMemory& memory, const PanelSettings& current,
                    PanelSettings* loaded) {
  uint32_t size = 0;
  if (!source.Size(&size)) return {LoadOutcome::CannotRead, FileFault::None};
  if (size > kLargestSettingsFile) return {LoadOutcome::TooLarge, FileFault::None};
  // One byte more than the file: an empty file still gets a block.
  uint8_t* const block = memory.Obtain(size + 1);
  if (block == nullptr) return {LoadOutcome::CannotRead, FileFault::None};
  LoadResult result = {LoadOutcome::CannotRead, FileFault::None};
  if (source.ReadAll(block, size)) {
    SettingsFromMessages reader(current);
    result.fault = ReadSysExFile(block, size, reader);
    if (result.fault != FileFault::None) {
      result.outcome = LoadOutcome::Damaged;
    } else if (reader.Found() == 0) {
      result.outcome = LoadOutcome::NoSettings;
    } else {
      result.outcome = LoadOutcome::Loaded;
      *loaded = reader.Settings();
    }
  }
  memory.Release(block);
  return result;
}

}  // namespace

LoadResult LoadSettingsFile(const char* path, SettingsFileSource& source, ImageMemory& memory,
                            const PanelSettings& current, PanelSettings* loaded) {
  if (!source.Open(path)) return {LoadOutcome::CannotRead, FileFault::None};
  const LoadResult result = ReadInto(source, memory, current, loaded);
  source.Close();
  return result;
}
