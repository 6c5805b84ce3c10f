#include "panel/ui/panel_notices_win32.h"

#include "panel/ui/panel_controls.h"
#include "panel/ui/port_fault_text_win32.h"

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
  if (stringId != 0) ShowProgramBox(owner_, resources_, stringId, path, MB_OK | MB_ICONEXCLAMATION);
}

void BoxNotices::OutputFailed(const OutputFaultReport& report) {
  char text[kPortFaultTextCapacity];
  if (!FormatOutputFaultText(resources_, report, text)) return;
  ShowProgramBox(owner_, resources_, 0, text, MB_OK | MB_ICONEXCLAMATION);
}
