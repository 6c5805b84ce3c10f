#pragma once
// Dialog 103 "MIDI Output": where the panel's messages go. Its list shows what the chosen output
// offers (the card at its port first, then the system's MIDI output devices by name), with the
// current choice selected; OK takes the selected one.
#include <windows.h>

#include "dialog/dialog_win32.h"
#include "panel/core/settings_store.h"
#include "panel/device/chosen_output.h"

class OutputDialog final : public Dialog<OutputDialog> {
 public:
  // output: what it offers is shown, its choice selected.
  OutputDialog(HINSTANCE resources, ChosenOutput& output) : resources_(resources), output_(output) {}

  // Runs the dialog, owned by `owner`. True when OK took an output: its device name (empty for
  // the card) is then in chosen (kOutputNameCapacity characters).
  bool Run(HWND owner, char* chosen);

 protected:
  friend Dialog;
  bool OnInitDialog();
  bool OnCommand(int id, int code, HWND control);

 private:
  LRESULT List(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE resources_;
  ChosenOutput& output_;
  char* chosen_ = nullptr;
};
