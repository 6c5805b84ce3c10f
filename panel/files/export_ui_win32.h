#pragma once
// The panel's file dialogs and the export's boxes: the Open and Save dialogs with their filters,
// the caption of the dialog's button that started the export, the question before a file is
// replaced and the failure message boxes, with texts from the string table of `strings`.
#include <windows.h>

#include "panel/files/export_ui.h"

// A message box captioned with string `captionId`: string `formatId` with `argument` in place of
// its %s, or, for formatId 0, `argument` as the whole text. Returns the button pressed.
int ShowStringBox(HWND owner, HINSTANCE strings, int formatId, const char* argument, int captionId, UINT style);

// The Open dialog for a settings file (a MIDI file, a dump or any file); false when the user
// cancels.
bool ChooseSettingsFile(HWND owner, HINSTANCE strings, char* path, size_t size);

class DialogExportUi : public ExportUi {
 public:
  DialogExportUi(HWND dialog, int button, HINSTANCE strings) : dialog_(dialog), button_(button), strings_(strings) {}

  bool ChoosePath(char* path, size_t size, SaveType* type) override;
  bool ConfirmReplace(const char* path) override;
  void ShowCaption(int stringId) override;
  void ReportError(int stringId) override;

 private:
  HWND dialog_;
  int button_;
  HINSTANCE strings_;
};
