#include "panel/export/midi_export.h"

#include "panel/export/export_file.h"
#include "panel/export/export_ui.h"
#include "panel/export/image_memory.h"
#include "panel/export/midi_image.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/panel_controls.h"

namespace {

constexpr size_t kPathSize = 260;

// Builds the image and writes it; on failure the file is closed and removed before the user is
// told, so no partial file outlives the message.
int WriteImage(PanelController& controller, ExportFile& file, ImageMemory& memory,
               const char* path) {
  if (BuildImage(controller, memory) != kImageBuilt) {
    file.Close();
    file.Delete(path);
    return kExportNoMemory;
  }
  const SinkState& sink = controller.Messages().Sink().state;
  const uint32_t size = sink.deltaTicks;
  uint32_t written = 0;
  if (!file.Write(sink.bufferStart, size, &written) || written != size) {
    file.Close();
    file.Delete(path);
    return kExportWriteFailed;
  }
  file.Close();
  return kExportSaved;
}

}  // namespace

int SaveMidiFile(PanelController& controller, ExportUi& ui, ExportFile& file, ImageMemory& memory) {
  char path[kPathSize] = {};
  if (!ui.ChoosePath(path, sizeof path)) return kExportCancelled;

  int result = kExportCannotCreate;
  if (file.Create(path)) {
    ui.ShowCaption(IDS_SAVING);
    result = WriteImage(controller, file, memory, path);
  }
  if (result != kExportSaved) ui.ReportError(result);

  SinkState& sink = controller.Messages().Sink().state;
  if (sink.bufferStart != nullptr) memory.Release(sink.bufferStart);
  sink.bufferStart = nullptr;
  sink.bufferEnd = nullptr;
  sink.cursor = nullptr;
  ui.ShowCaption(IDS_SAVE_MIDI);
  return result;
}
