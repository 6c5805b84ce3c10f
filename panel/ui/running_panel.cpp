#include "panel/ui/running_panel.h"

StartOutcome StartBesideRunningPanel(const PanelStart& start, RunningPanel& panel) {
  if (start.mode == PanelStart::Mode::Usage) return {StartOutcome::Kind::Usage, kExitBadStart};
  if (!panel.Find()) return {StartOutcome::Kind::OpenHere, kExitDone};
  const char* file = start.file[0] != '\0' ? start.file : nullptr;
  int answer;
  if (start.mode == PanelStart::Mode::Send) {
    answer = panel.HandOver(PanelRequest::Send, file);
  } else {
    answer = panel.HandOver(PanelRequest::Front, nullptr);
    if (answer != RunningPanel::kNoAnswer) {
      panel.BringToFront();
      if (file != nullptr) answer = panel.HandOver(PanelRequest::Load, file);
    }
  }
  if (answer == RunningPanel::kNoAnswer) return {StartOutcome::Kind::NoAnswer, kExitNoAnswer};
  return {StartOutcome::Kind::Answered, answer};
}
