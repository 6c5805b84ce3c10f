#pragma once
// What the export needs from the user: a file name, the button caption while it works, and a
// message box when something fails. Texts are string-table numbers.
#include <cstddef>

class ExportUi {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~ExportUi() = default;

 public:
  // Asks for the file name (save-file dialog); false when the user cancels.
  virtual bool ChoosePath(char* path, size_t size) = 0;
  // Shows string `stringId` as the "Save &MIDI" button's caption.
  virtual void ShowCaption(int stringId) = 0;
  // Tells the user about a failure: string `stringId`, with that number as the help context.
  virtual void ReportError(int stringId) = 0;
};
