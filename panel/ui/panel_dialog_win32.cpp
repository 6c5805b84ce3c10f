#include "panel/ui/panel_dialog_win32.h"

#include "panel/files/export_file_win32.h"
#include "panel/files/export_ui_win32.h"
#include "panel/files/image_memory_win32.h"
#include "panel/ui/output_dialog_win32.h"
#include "panel/ui/running_panel_win32.h"

namespace {
// The panel's accelerator table, loaded at the end of the start-up push.
HACCEL g_panelAccelerators = nullptr;
}  // namespace

PanelDialog::PanelDialog(HINSTANCE instance, PanelRun& run, Win32ControlSurface& controls, BoxNotices& notices,
                         ProgramOutputs& outputs, const char* startFile, const char* programName)
    : resources_(instance),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PANEL))),
      smallIcon_(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PANEL), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0))),
      run_(run),
      controls_(controls),
      notices_(notices),
      outputs_(outputs),
      startFile_(startFile),
      mark_(programName),
      startupEntry_(programName) {}

PanelDialog::~PanelDialog() {
  if (smallIcon_) DestroyIcon(smallIcon_);
}

bool PanelDialog::OnInitDialog() {
  HWND window = Handle();
  MarkRunningPanel(window, mark_);
  controls_.Attach(window);
  notices_.SetOwner(window);

  SetUpProgramWindow(icon_, smallIcon_);
  AddWindowMenuItems();

  for (int index = 0; index < kReverbTypeCount; ++index) {
    controls_.AddComboItem(IDC_REVERB_TYPE, ReverbTypeName(index));
  }
  run_.Start(startFile_);
  DragAcceptFiles(window, TRUE);

  if (!g_panelAccelerators) g_panelAccelerators = LoadAcceleratorsA(resources_, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  UseAccelerators(g_panelAccelerators);
  PostMessageA(window, kCheckPortMessage, 0, 0);
  return true;
}

bool PanelDialog::OnCommand(int id, int code, HWND /*control*/) {
  bool handled = HandleCommand(id, code);
  TellNewFault();
  return handled;
}

bool PanelDialog::HandleCommand(int id, int code) {
  PanelController& events = run_.Events();
  // A channel box (an automatic check box) has flipped itself already with the click.
  if (code == BN_CLICKED && events.OnChannelClicked(id)) return true;
  switch (id) {
    case IDM_ENTER:
      // An edit box that has the focus loses it and applies its value; nothing is pressed.
      SetFocus(Handle());
      return false;
    case IDM_ALT_V:
    case IDM_ALT_U:
    case IDM_ALT_T:
      events.OnFocusKey(id);
      return true;
    case IDCANCEL:
      End(IDCANCEL);
      return true;
    case IDOK:
      // No OK button: only Escape and the close box end the panel.
      return true;
    case IDC_MASTER_TRANSPOSE:
    case IDC_DIGITAL_TRANSPOSE:
      if (code == EN_KILLFOCUS) events.OnEditKillFocus(id);
      return false;
    case IDC_REVERB_TYPE:
      if (code == CBN_SELCHANGE) events.OnReverbTypeSelChange();
      if (code == CBN_KILLFOCUS) events.OnReverbTypeKillFocus();
      return false;
    case IDC_DIGITAL_TARGET:
      if (code == BN_CLICKED) events.OnTargetClicked();
      return true;
    case IDC_PANIC:
      if (code == BN_CLICKED) run_.Panic();
      return true;
    case IDC_SAVE_MIDI:
      if (code == BN_CLICKED) SaveMidi();
      return true;
    default:
      return false;
  }
}

void PanelDialog::AddWindowMenuItems() {
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  const int items[][2] = {{IDM_LOAD_SETTINGS, IDS_LOAD_SETTINGS_ITEM},
                          {IDM_MIDI_OUTPUT, IDS_MIDI_OUTPUT_ITEM},
                          {IDM_RESTORE_AT_START, IDS_RESTORE_AT_START_ITEM}};
  UINT position = 0;
  for (const auto& item : items) {
    char text[64];
    if (LoadStringA(resources_, item[1], text, sizeof text) > 0) {
      InsertMenuA(menu, position++, MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(item[0]), text);
    }
  }
  InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool PanelDialog::OnSysCommand(UINT command) {
  switch (command) {
    case IDM_LOAD_SETTINGS:
      ChooseLoadFile();
      break;
    case IDM_MIDI_OUTPUT:
      ChooseOutput();
      break;
    case IDM_RESTORE_AT_START:
      if (!startupEntry_.Toggle()) {
        ShowProgramBox(Handle(), resources_, IDS_STARTUP_ENTRY_REFUSED, nullptr, MB_OK | MB_ICONEXCLAMATION);
      }
      break;
    default:
      return false;
  }
  TellNewFault();
  return true;
}

void PanelDialog::OnInitMenuPopup(HMENU menu, bool windowMenu) {
  // The registry may have changed since the menu last opened (another program, the user).
  if (windowMenu) {
    CheckMenuItem(menu, IDM_RESTORE_AT_START,
                  MF_BYCOMMAND | (startupEntry_.StartsThisProgram() ? MF_CHECKED : MF_UNCHECKED));
  }
}

void PanelDialog::ChooseLoadFile() {
  char path[MAX_PATH];
  if (ChooseSettingsFile(Handle(), resources_, path, sizeof path)) run_.LoadFile(path);
}

void PanelDialog::OnDropFiles(HDROP drop) {
  // Of several files, the first.
  char path[MAX_PATH];
  const UINT length = DragQueryFileA(drop, 0, path, sizeof path);
  DragFinish(drop);
  if (length == 0 || length >= sizeof path) return;
  run_.LoadFile(path);
  TellNewFault();
}

void PanelDialog::ChooseOutput() {
  char chosen[kOutputNameCapacity];
  OutputDialog dialog(resources_, outputs_.Chosen());
  if (dialog.Run(Handle(), chosen)) run_.ChooseOutput(chosen);
}

bool PanelDialog::OnHScroll(HWND control, int code) {
  run_.Events().OnScroll(GetDlgCtrlID(control), code);
  TellNewFault();
  return false;  // the trackbar's own handling goes on
}

void PanelDialog::OnEndSession(bool ending) {
  // The process may be ended right after this message: the modal run never returns to save.
  if (ending) run_.End();
}

bool PanelDialog::OnAppMessage(UINT message, WPARAM, LPARAM) {
  if (message == kShowHeldBoxMessage) {
    notices_.ShowHeldBox();
    return true;
  }
  if (message != kCheckPortMessage) return false;
  UpdateWindow(Handle());  // the panel is drawn before a report covers it
  run_.TellStartNotices();
  return true;
}

LRESULT PanelDialog::OnCopyData(const COPYDATASTRUCT& data) {
  HandedRequest handed;
  if (!ReadHandedRequest(data, &handed)) return kExitBadStart;
  notices_.HoldBoxes(true);
  const int answer = run_.Serve(handed.request, handed.File());
  notices_.HoldBoxes(false);
  PostMessageA(Handle(), kShowHeldBoxMessage, 0, 0);
  return answer;
}

void PanelDialog::OnDestroy() { UnmarkRunningPanel(Handle(), mark_); }

void PanelDialog::SaveMidi() {
  DialogExportUi ui(Handle(), IDC_SAVE_MIDI, resources_);
  Win32ExportFile file;
  PageImageMemory memory;
  run_.SaveFile(ui, file, memory);
}

void PanelDialog::TellNewFault() {
  if (!Ended()) run_.TellNewFault();
}
