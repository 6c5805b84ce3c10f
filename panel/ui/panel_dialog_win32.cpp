#include "panel/ui/panel_dialog_win32.h"

#include "panel/files/export_file_win32.h"
#include "panel/files/export_ui_win32.h"
#include "panel/files/image_memory_win32.h"
#include "panel/files/settings_file_win32.h"
#include "panel/ui/load_report_win32.h"
#include "panel/ui/output_dialog_win32.h"
#include "panel/ui/port_fault_text_win32.h"

namespace {
// The panel's accelerator table, loaded at the end of the start-up push.
HACCEL g_panelAccelerators = nullptr;
}  // namespace

PanelDialog::PanelDialog(HINSTANCE instance, PanelSettings& settings, ProgramOutputs& outputs, SettingsStore& store)
    : resources_(instance),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PANEL))),
      smallIcon_(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PANEL), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0))),
      settings_(settings),
      store_(store),
      outputs_(outputs),
      messages_(settings, outputs.Chosen()),
      controller_(messages_, surface_, outputs.Chosen()) {}

PanelDialog::~PanelDialog() {
  if (smallIcon_) DestroyIcon(smallIcon_);
}

bool PanelDialog::OnInitDialog() {
  HWND window = Handle();
  surface_.Attach(window);

  SetUpProgramWindow(icon_, smallIcon_);
  AddWindowMenuItems();

  for (int index = 0; index < kReverbTypeCount; ++index) {
    surface_.AddComboItem(IDC_REVERB_TYPE, ReverbTypeName(index));
  }
  controller_.Open();
  DragAcceptFiles(window, TRUE);

  if (!g_panelAccelerators) g_panelAccelerators = LoadAcceleratorsA(resources_, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  UseAccelerators(g_panelAccelerators);
  PostMessageA(window, kCheckPortMessage, 0, 0);
  return true;
}

bool PanelDialog::OnCommand(int id, int code, HWND /*control*/) {
  bool handled = HandleCommand(id, code);
  ReportNewPortFault();
  return handled;
}

bool PanelDialog::HandleCommand(int id, int code) {
  // A channel box (an automatic check box) has flipped itself already with the click.
  if (code == BN_CLICKED && controller_.OnChannelClicked(id)) return true;
  switch (id) {
    case IDM_ENTER:
      // An edit box that has the focus loses it and applies its value; nothing is pressed.
      SetFocus(Handle());
      return false;
    case IDM_ALT_V:
    case IDM_ALT_U:
    case IDM_ALT_T:
      controller_.OnFocusKey(id);
      return true;
    case IDCANCEL:
      End(IDCANCEL);
      return true;
    case IDOK:
      // No OK button: only Escape and the close box end the panel.
      return true;
    case IDC_MASTER_TRANSPOSE:
    case IDC_DIGITAL_TRANSPOSE:
      if (code == EN_KILLFOCUS) controller_.OnEditKillFocus(id);
      return false;
    case IDC_REVERB_TYPE:
      if (code == CBN_SELCHANGE) controller_.OnReverbTypeSelChange();
      if (code == CBN_KILLFOCUS) controller_.OnReverbTypeKillFocus();
      return false;
    case IDC_DIGITAL_TARGET:
      if (code == BN_CLICKED) controller_.OnTargetClicked();
      return true;
    case IDC_PANIC:
      if (code == BN_CLICKED) controller_.OnPanic();
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
  const int items[][2] = {{IDM_LOAD_SETTINGS, IDS_LOAD_SETTINGS_ITEM}, {IDM_MIDI_OUTPUT, IDS_MIDI_OUTPUT_ITEM}};
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
    default:
      return false;
  }
  ReportNewPortFault();
  return true;
}

void PanelDialog::ChooseLoadFile() {
  char path[MAX_PATH];
  if (ChooseSettingsFile(Handle(), path, sizeof path)) LoadFile(path);
}

void PanelDialog::OnDropFiles(HDROP drop) {
  // Of several files, the first.
  char path[MAX_PATH];
  const UINT length = DragQueryFileA(drop, 0, path, sizeof path);
  DragFinish(drop);
  if (length == 0 || length >= sizeof path) return;
  LoadFile(path);
  ReportNewPortFault();
}

void PanelDialog::LoadFile(const char* path) {
  PanelSettings loaded;
  const LoadResult result = LoadSettingsFile(path, settings_, &loaded);
  if (result.outcome == LoadOutcome::Loaded) controller_.OnSettingsLoaded(loaded);
  ReportLoad(Handle(), resources_, result, path);
}

// OK applies the choice even when it is the one in force: a device that failed is tried again.
void PanelDialog::ChooseOutput() {
  ChosenOutput& output = outputs_.Chosen();
  char chosen[kOutputNameCapacity];
  OutputDialog dialog(resources_, output);
  if (!dialog.Run(Handle(), chosen)) return;
  output.Choose(chosen);
  controller_.StartupPush();
}

bool PanelDialog::OnHScroll(HWND control, int code) {
  controller_.OnScroll(GetDlgCtrlID(control), code);
  ReportNewPortFault();
  return false;  // the trackbar's own handling goes on
}

void PanelDialog::OnEndSession(bool ending) {
  // The process may be ended right after this message: the modal run never returns to save.
  if (ending) SaveSettings(settings_, store_, outputs_.Chosen().DeviceName());
}

bool PanelDialog::OnAppMessage(UINT message, WPARAM, LPARAM) {
  if (message != kCheckPortMessage) return false;
  UpdateWindow(Handle());  // the panel is drawn before a report covers it
  if (startFile_ != nullptr) ReportLoad(Handle(), resources_, startLoad_, startFile_);
  startFile_ = nullptr;
  ReportNewPortFault();
  return true;
}

void PanelDialog::SaveMidi() {
  DialogExportUi ui(Handle(), IDC_SAVE_MIDI, resources_);
  Win32ExportFile file;
  PageImageMemory memory;
  controller_.OnSaveMidi(ui, file, memory);
}

void PanelDialog::ReportNewPortFault() {
  // No box over a closing window: the edit boxes still apply their values as it goes away.
  if (!Ended()) ReportPortFault(Handle());
}

bool PanelDialog::ReportPortFault(HWND owner) {
  char text[kPortFaultTextCapacity];
  if (!FormatOutputFaultText(resources_, controller_.TakeOutputFaultReport(), text)) return false;
  MessageBoxA(owner, text, "Tambrel", MB_OK | MB_ICONEXCLAMATION);
  return true;
}

bool PanelDialog::SendWithoutWindow() {
  // The panel's window is made, and with it the whole state sent, but never shown.
  return Create(resources_, IDD_PANEL, nullptr) && !ReportPortFault(nullptr);
}
