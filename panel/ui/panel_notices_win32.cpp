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

int ShowProgramBox(HWND owner, HINSTANCE resources, const char* text, UINT style) {
  char caption[32];
  if (LoadStringA(resources, IDS_PROGRAM_CAPTION, caption, sizeof caption) <= 0) caption[0] = '\0';
  return MessageBoxA(owner, text, caption, style);
}

void ShowStringBox(HINSTANCE resources, int stringId, UINT style) {
  char text[512];
  if (LoadStringA(resources, stringId, text, sizeof text) > 0) ShowProgramBox(nullptr, resources, text, MB_OK | style);
}

void BoxNotices::FileNotLoaded(const LoadResult& result, const char* path) {
  const int stringId = LoadReportStringId(result.outcome);
  char format[96];
  if (stringId == 0 || LoadStringA(resources_, stringId, format, sizeof format) <= 0) return;
  char text[sizeof format + MAX_PATH];
  wsprintfA(text, format, path);
  Tell(text);
}

void BoxNotices::OutputFailed(const OutputFaultReport& report) {
  char text[kPortFaultTextCapacity];
  if (output_ == nullptr || !FormatOutputFaultText(resources_, report, *output_, text)) return;
  Tell(text);
}

void BoxNotices::Tell(const char* text) {
  if (!holding_) {
    ShowProgramBox(owner_, resources_, text, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  size_t i = 0;
  for (; text[i] != '\0' && i + 1 < sizeof heldText_; ++i) heldText_[i] = text[i];
  heldText_[i] = '\0';
  held_ = true;
}

void BoxNotices::ShowHeldBox() {
  if (!held_) return;
  // The box has its own copy of the text once it shows: a request served while it is open may
  // hold the next one.
  held_ = false;
  ShowProgramBox(owner_, resources_, heldText_, MB_OK | MB_ICONEXCLAMATION);
}
