#include "panel/export/export_ui_win32.h"

#include <commdlg.h>

namespace {
// MIDI files first, then everything; the literal's own final zero ends the list.
const char kMidiFileFilter[] = "MIDI files (*.mid)\0*.mid\0All files (*.*)\0*.*\0";
}  // namespace

bool DialogExportUi::ChoosePath(char* path, size_t size) {
  path[0] = '\0';
  OPENFILENAMEA dialog = {};
  // The original structure size: every system from the card's era on accepts it.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = dialog_;
  dialog.lpstrFilter = kMidiFileFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN |
                 OFN_LONGNAMES;
  return GetSaveFileNameA(&dialog) != FALSE;
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
