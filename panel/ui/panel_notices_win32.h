#pragma once
// What the panel tells the user, as message boxes captioned with the program's name: over the
// panel once it shows, alone when the card is restored without a window.
#include <windows.h>

#include "panel/files/export_ui_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/panel_notices.h"

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

 private:
  HINSTANCE resources_;
  HWND owner_ = nullptr;
};
