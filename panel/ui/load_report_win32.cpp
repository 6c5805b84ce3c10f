#include "panel/ui/load_report_win32.h"

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

void ReportLoad(HWND owner, HINSTANCE resources, const LoadResult& result, const char* path) {
  const int stringId = LoadReportStringId(result.outcome);
  char format[96];
  if (stringId == 0 || LoadStringA(resources, stringId, format, sizeof format) <= 0) return;
  char text[sizeof format + MAX_PATH];
  wsprintfA(text, format, path);
  MessageBoxA(owner, text, "Tambrel", MB_OK | MB_ICONEXCLAMATION);
}
