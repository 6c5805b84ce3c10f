#pragma once
// What the export needs from the user: a file name and the type chosen with it, the button caption
// while it works, a question before a file is replaced, and a message box when something fails.
// Texts are string-table numbers.
#include <cstddef>
#include <cstdint>

// The types the save dialog offers, numbered in its order as it numbers them.
enum class SaveType : uint8_t { MidiFile = 1, Dump = 2, AnyFile = 3 };

class ExportUi {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~ExportUi() = default;

 public:
  // Asks for the file name and its type (save-file dialog, which itself asks before the name it was
  // given replaces a file); false when the user cancels.
  virtual bool ChoosePath(char* path, size_t size, SaveType* type) = 0;
  // Asks whether the existing file `path` may be replaced.
  virtual bool ConfirmReplace(const char* path) = 0;
  // Shows string `stringId` as the "Save &MIDI" button's caption.
  virtual void ShowCaption(int stringId) = 0;
  // Tells the user about a failure: string `stringId`, with that number as the help context.
  virtual void ReportError(int stringId) = 0;
};
