#include "panel/ui/output_dialog_win32.h"

#include "panel/ui/panel_controls.h"

bool OutputDialog::Run(HWND owner, char* chosen) {
  chosen_ = chosen;
  return RunModal(resources_, IDD_MIDI_OUTPUT, owner) == IDOK;
}

LRESULT OutputDialog::List(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(Handle(), IDC_OUTPUT_LIST, message, wParam, lParam);
}

bool OutputDialog::OnInitDialog() {
  char format[64];
  if (LoadStringA(resources_, IDS_OUTPUT_CARD, format, sizeof format) == 0) format[0] = '\0';
  OutputList choices = output_.Offered();
  OutputChoice choice;
  while (choices.Next(&choice)) {
    char card[96];
    const char* text = choice.name;
    if (choice.kind == OutputChoice::Kind::Card) {
      wsprintfA(card, format, static_cast<unsigned>(choice.port));
      text = card;
    }
    List(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  // A chosen device that is gone now leaves the list without a selection.
  const char* current = output_.DeviceName();
  const LRESULT selected = current[0] == '\0' ? 0 : List(LB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(current));
  if (selected > 0 || current[0] == '\0') List(LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return true;  // the focus goes to the list, the first tab stop
}

bool OutputDialog::OnCommand(int id, int code, HWND /*control*/) {
  const bool chosen = (id == IDOK && code == BN_CLICKED) || (id == IDC_OUTPUT_LIST && code == LBN_DBLCLK);
  if (!chosen) return Dialog::OnCommand(id, code, nullptr);
  const LRESULT selected = List(LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) {
    End(IDCANCEL);
    return true;
  }
  // The devices' names are the system's, each shorter than kOutputNameCapacity.
  chosen_[0] = '\0';
  if (selected > 0) List(LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(chosen_));
  End(IDOK);
  return true;
}
