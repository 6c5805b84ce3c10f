#include "panel/files/export_ui_win32.h"

#include <commdlg.h>

#include "panel/files/midi_export.h"

namespace {

// A filter of the string table, its '|' turned into the zeros that end each part (the buffer's
// own zeros end the list).
void LoadFilter(HINSTANCE strings, int stringId, char* filter, int size) {
  for (int i = 0; i < size; ++i) filter[i] = '\0';
  LoadStringA(strings, stringId, filter, size - 1);
  for (int i = 0; filter[i] != '\0'; ++i) {
    if (filter[i] == '|') filter[i] = '\0';
  }
}

// Runs the Open or Save dialog with the filter of the string table.
bool RunFileDialog(HWND owner, HINSTANCE strings, int filterId, DWORD flags, char* path, size_t size,
                   DWORD* filterIndex) {
  char filter[160];
  LoadFilter(strings, filterId, filter, sizeof filter);
  path[0] = '\0';
  OPENFILENAMEA dialog = {};
  // The original structure size: every system from the card's era on accepts it.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_LONGNAMES | flags;
  const BOOL chosen = filterId == IDS_OPEN_FILTER ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
  *filterIndex = dialog.nFilterIndex;
  return chosen != FALSE;
}

}  // namespace

bool ChooseSettingsFile(HWND owner, HINSTANCE strings, char* path, size_t size) {
  DWORD filterIndex = 0;
  return RunFileDialog(owner, strings, IDS_OPEN_FILTER, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, path, size,
                       &filterIndex);
}

bool DialogExportUi::ChoosePath(char* path, size_t size, SaveType* type) {
  DWORD filterIndex = 0;
  if (!RunFileDialog(dialog_, strings_, IDS_SAVE_FILTER, OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN, path, size,
                     &filterIndex)) {
    return false;
  }
  *type = static_cast<SaveType>(filterIndex);
  return true;
}

int ShowStringBox(HWND owner, HINSTANCE strings, int formatId, const char* argument, int captionId, UINT style) {
  char caption[32];
  char format[256];
  char text[sizeof format + MAX_PATH];
  if (LoadStringA(strings, captionId, caption, sizeof caption) <= 0) caption[0] = '\0';
  if (formatId != 0) {
    if (LoadStringA(strings, formatId, format, sizeof format) <= 0) format[0] = '\0';
    wsprintfA(text, format, argument);
    argument = text;
  }
  return MessageBoxA(owner, argument, caption, style);
}

bool DialogExportUi::ConfirmReplace(const char* path) {
  return ShowStringBox(dialog_, strings_, IDS_REPLACE_FILE, path, IDS_SAVE_AS, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void DialogExportUi::ShowCaption(int stringId) {
  char caption[64];
  if (LoadStringA(strings_, stringId, caption, sizeof caption) > 0) {
    SetDlgItemTextA(dialog_, button_, caption);
  }
}

void DialogExportUi::ReportError(int stringId) {
  char text[256];
  if (LoadStringA(strings_, stringId, text, sizeof text) <= 0) text[0] = '\0';
  char title[64];
  if (GetWindowTextA(dialog_, title, sizeof title) <= 0) title[0] = '\0';

  MSGBOXPARAMSA box = {};
  box.cbSize = sizeof box;
  box.hwndOwner = dialog_;
  box.hInstance = strings_;
  box.lpszText = text;
  box.lpszCaption = title[0] != '\0' ? title : nullptr;
  box.dwStyle = MB_OK | MB_ICONEXCLAMATION;
  box.dwContextHelpId = static_cast<DWORD_PTR>(stringId);
  MessageBoxIndirectA(&box);
}
