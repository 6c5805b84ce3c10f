#include "panel/ui/panel_notices_win32.h"

#include "panel/ui/panel_controls.h"

namespace {

// The text that says why a file changed nothing; 0 when it was loaded.
int LoadReportStringId(LoadOutcome outcome) {
  switch (outcome) {
    case LoadOutcome::CannotRead:
      return IDS_FILE_CANNOT_READ;
    case LoadOutcome::TooLarge:
      return IDS_FILE_TOO_LARGE;
    case LoadOutcome::Damaged:
      return IDS_FILE_DAMAGED;
    case LoadOutcome::NoSettings:
      return IDS_FILE_NO_SETTINGS;
    case LoadOutcome::Loaded:
      break;
  }
  return 0;
}

}  // namespace

void ShowUsage(HINSTANCE resources) {
  ShowProgramBox(nullptr, resources, IDS_USAGE, nullptr, MB_OK | MB_ICONINFORMATION);
}

void BoxNotices::FileNotLoaded(const LoadResult& result, const char* path) {
  const int stringId = LoadReportStringId(result.outcome);
  if (stringId != 0) Tell(stringId, path);
}

void BoxNotices::OutputFailed(const OutputFaultReport& report) {
  char text[kPortFaultTextCapacity];
  if (!FormatOutputFaultText(resources_, report, text)) return;
  Tell(0, text);
}

void BoxNotices::Tell(int formatId, const char* argument) {
  if (!holding_) {
    ShowProgramBox(owner_, resources_, formatId, argument, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  heldFormat_ = formatId;
  size_t i = 0;
  for (; argument[i] != '\0' && i + 1 < sizeof heldArgument_; ++i) heldArgument_[i] = argument[i];
  heldArgument_[i] = '\0';
  held_ = true;
}

void BoxNotices::ShowHeldBox() {
  if (!held_) return;
  // The box has its own copy of the text once it shows: a request served while it is open may
  // hold the next one.
  held_ = false;
  ShowProgramBox(owner_, resources_, heldFormat_, heldArgument_, MB_OK | MB_ICONEXCLAMATION);
}
