#pragma once
// Dialog 103 "MIDI Output": where the panel's messages go. Its list holds the card at the stored
// port first, then every MIDI output device of the system in id order by its name (never the MIDI
// Mapper), with the current choice selected; OK takes the selected one.
#include <windows.h>

#include "dialog/dialog_win32.h"
#include "panel/core/settings_store.h"
#include "panel/device/midi_out_api.h"

class OutputDialog final : public Dialog<OutputDialog> {
 public:
  // current: the chosen device's name, empty for the card.
  OutputDialog(HINSTANCE resources, MidiOutApi& devices, uint16_t port, const char* current)
      : resources_(resources), devices_(devices), port_(port), current_(current) {}

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
  MidiOutApi& devices_;
  uint16_t port_;
  const char* current_;
  char* chosen_ = nullptr;
};
