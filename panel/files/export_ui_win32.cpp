#include "panel/files/export_ui_win32.h"

#include <commdlg.h>

#include "panel/files/midi_export.h"

namespace {

// MIDI files first, then dumps, then everything; the literal's own final zero ends each list.
#define MIDI_FILES "MIDI files (*.mid)\0*.mid\0"
#define ALL_FILES "All files (*.*)\0*.*\0"
const char kSaveFilter[] = MIDI_FILES "System-exclusive dump (*.syx)\0*.syx\0" ALL_FILES;
const char kOpenFilter[] = MIDI_FILES "System-exclusive dumps (*.syx)\0*.syx\0" ALL_FILES;
constexpr DWORD kDumpType = 2;  // the filters' second type

OPENFILENAMEA FileDialog(HWND owner, const char* filter, char* path, size_t size) {
  path[0] = '\0';
  OPENFILENAMEA dialog = {};
  // The original structure size: every system from the card's era on accepts it.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_LONGNAMES;
  return dialog;
}

}  // namespace

bool ChooseSettingsFile(HWND owner, char* path, size_t size) {
  OPENFILENAMEA dialog = FileDialog(owner, kOpenFilter, path, size);
  dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  return GetOpenFileNameA(&dialog) != FALSE;
}

bool DialogExportUi::ChoosePath(char* path, size_t size) {
  OPENFILENAMEA dialog = FileDialog(dialog_, kSaveFilter, path, size);
  dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN;
  if (!GetSaveFileNameA(&dialog)) return false;
  // The dump type adds its extension to a name without one; the dialog asked about the name as
  // typed, so a file of the longer name is asked about here.
  if (dialog.nFilterIndex != kDumpType || !AddDumpExtension(path, size)) return true;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return true;
  char format[96];
  char text[96 + 260];
  if (LoadStringA(strings_, IDS_REPLACE_FILE, format, sizeof format) <= 0) format[0] = '\0';
  wsprintfA(text, format, path);
  return MessageBoxA(dialog_, text, "Save As", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
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
