#include "panel/export/midi_export_win32.h"

#include "panel/export/export_file_win32.h"
#include "panel/export/export_ui_win32.h"
#include "panel/export/image_memory_win32.h"
#include "panel/export/midi_export.h"

void ExportToFile(HWND dialog, PanelController& controller) {
  DialogExportUi ui(dialog, GetModuleHandleA(nullptr));
  Win32ExportFile file;
  PageImageMemory memory;
  SaveMidiFile(controller, ui, file, memory);
}
