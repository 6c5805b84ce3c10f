#include "panel/files/midi_export.h"

#include "panel/files/export_file.h"
#include "panel/files/export_ui.h"
#include "panel/files/image_memory.h"

namespace {

constexpr size_t kPathSize = 260;
constexpr char kDumpExtension[] = ".syx";
constexpr size_t kDumpExtensionLength = sizeof kDumpExtension - 1;

size_t Length(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Builds the image and writes it; on failure the file is closed and removed before the user is
// told, so no partial file outlives the message.
int WriteImage(const ExportInput& input, ExportFile& file, ImageMemory& memory, const char* path, MidiImage* image) {
  const SavedForm form = NamesDump(path) ? SavedForm::Dump : SavedForm::MidiFile;
  if (BuildImage(input, memory, image, form) != kImageBuilt) {
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
  SaveType type = SaveType::MidiFile;
  if (!ui.ChoosePath(path, sizeof path, &type)) return kExportCancelled;
  // The dump type adds its extension to a name without one. The save dialog asked about the name
  // as typed, so a file of the longer name is asked about here.
  if (type == SaveType::Dump && AddDumpExtension(path, sizeof path) && file.Exists(path) && !ui.ConfirmReplace(path)) {
    return kExportCancelled;
  }

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

bool NamesDump(const char* path) {
  const size_t length = Length(path);
  if (length < kDumpExtensionLength) return false;
  for (size_t i = 0; i < kDumpExtensionLength; ++i) {
    if (LowerAscii(path[length - kDumpExtensionLength + i]) != kDumpExtension[i]) return false;
  }
  return true;
}

bool AddDumpExtension(char* path, size_t capacity) {
  const size_t length = Length(path);
  for (size_t i = length; i > 0 && path[i - 1] != '\\' && path[i - 1] != '/' && path[i - 1] != ':'; --i) {
    if (path[i - 1] == '.') return false;
  }
  if (length + kDumpExtensionLength + 1 > capacity) return false;
  for (size_t i = 0; i <= kDumpExtensionLength; ++i) path[length + i] = kDumpExtension[i];
  return true;
}
