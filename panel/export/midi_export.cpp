#include "panel/export/midi_export.h"

#include "panel/export/export_file.h"
#include "panel/export/export_ui.h"
#include "panel/export/image_memory.h"

namespace {

constexpr size_t kPathSize = 260;

// Builds the image and writes it; on failure the file is closed and removed before the user is
// told, so no partial file outlives the message.
int WriteImage(const ExportInput& input, ExportFile& file, ImageMemory& memory, const char* path, MidiImage* image) {
  if (BuildImage(input, memory, image) != kImageBuilt) {
    file.Close();
    file.Delete(path);
    return kExportNoMemory;
  }
  uint32_t written = 0;
  if (!file.Write(image->block, image->size, &written) || written != image->size) {
    file.Close();
    file.Delete(path);
    return kExportWriteFailed;
  }
  file.Close();
  return kExportSaved;
}

}  // namespace

int SaveMidiFile(const ExportInput& input, ExportUi& ui, ExportFile& file, ImageMemory& memory) {
  char path[kPathSize] = {};
  if (!ui.ChoosePath(path, sizeof path)) return kExportCancelled;

  MidiImage image;
  int result = kExportCannotCreate;
  if (file.Create(path)) {
    ui.ShowCaption(IDS_SAVING);
    result = WriteImage(input, file, memory, path, &image);
  }
  if (result != kExportSaved) ui.ReportError(result);

  if (image.block != nullptr) memory.Release(image.block);
  ui.ShowCaption(IDS_SAVE_MIDI);
  return result;
}
