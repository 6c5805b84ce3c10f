#pragma once
// What the panel tells the user, as message boxes captioned with the program's name: over the
// panel once it shows, alone when the card is restored without a window.
#include <windows.h>

#include "panel/device/chosen_output.h"
#include "panel/ui/panel_notices.h"
#include "panel/ui/port_fault_text_win32.h"

// A box with `text`, captioned with the program's name from the string table.
int ShowProgramBox(HWND owner, HINSTANCE resources, const char* text, UINT style);
// A box of the starting program alone, with a text of the string table.
void ShowStringBox(HINSTANCE resources, int stringId, UINT style);

class BoxNotices final : public PanelNotices {
 public:
  explicit BoxNotices(HINSTANCE resources) : resources_(resources) {}

  // The boxes' owner: the panel once it exists; none without a window.
  void SetOwner(HWND owner) { owner_ = owner; }
  // The output whose faults are told: a device's texts name the device.
  void SetOutput(const ChosenOutput& output) { output_ = &output; }

  void FileNotLoaded(const LoadResult& result, const char* path) override;
  void OutputFailed(const OutputFaultReport& report) override;

  // While a request handed over by a start of the program is served, its box waits until
  // ShowHeldBox, which the panel posts itself: the start gets its answer at once, not once the
  // user has read the box. A request tells one thing at most; a later box takes the place of one
  // still waiting.
  void HoldBoxes(bool hold) { holding_ = hold; }
  void ShowHeldBox();

 private:
  // Shows the box now, or keeps its text while boxes are held.
  void Tell(const char* text);

  HINSTANCE resources_;
  HWND owner_ = nullptr;
  const ChosenOutput* output_ = nullptr;
  bool holding_ = false;
  bool held_ = false;
  char heldText_[kPortFaultTextCapacity];
};
