#pragma once
// What the panel tells the user, as message boxes captioned with the program's name: over the
// panel once it shows, alone when the card is restored without a window.
#include <windows.h>

#include "panel/files/export_ui_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/panel_notices.h"
#include "panel/ui/port_fault_text_win32.h"

// A box captioned with the program's name (ShowStringBox).
inline int ShowProgramBox(HWND owner, HINSTANCE resources, int formatId, const char* argument, UINT style) {
  return ShowStringBox(owner, resources, formatId, argument, IDS_PROGRAM_CAPTION, style);
}
// Shows how to start the panel.
void ShowUsage(HINSTANCE resources);

class BoxNotices final : public PanelNotices {
 public:
  explicit BoxNotices(HINSTANCE resources) : resources_(resources) {}

  // The boxes' owner: the panel once it exists; none without a window.
  void SetOwner(HWND owner) { owner_ = owner; }

  void FileNotLoaded(const LoadResult& result, const char* path) override;
  void OutputFailed(const OutputFaultReport& report) override;

  // While a request handed over by a start of the program is served, its box waits until
  // ShowHeldBox, which the panel posts itself: the start gets its answer at once, not once the
  // user has read the box. A request tells one thing at most; a later box takes the place of one
  // still waiting.
  void HoldBoxes(bool hold) { holding_ = hold; }
  void ShowHeldBox();

 private:
  // Shows the box now (ShowProgramBox), or keeps what it would show while boxes are held.
  void Tell(int formatId, const char* argument);

  HINSTANCE resources_;
  HWND owner_ = nullptr;
  bool holding_ = false;
  bool held_ = false;
  int heldFormat_ = 0;
  char heldArgument_[kPortFaultTextCapacity];
};
