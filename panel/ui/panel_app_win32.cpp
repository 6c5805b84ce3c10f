#include "panel/ui/panel_app_win32.h"

#include <commctrl.h>

#include "panel/files/settings_file_win32.h"
#include "panel/ui/load_report_win32.h"
#include "panel/ui/panel_dialog_win32.h"

void InitPanelControls() {
  // Looked up at run time: the first common-controls library of the 95 class lacks the Ex form.
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE library = LoadLibraryA("comctl32.dll");
  InitEx initEx = library ? reinterpret_cast<InitEx>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")))
                          : nullptr;
  if (initEx) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    initEx(&controls);
  } else {
    InitCommonControls();
  }
}

void PanelApp::LoadSettings() { ::LoadSettings(settings_, store_, outputName_); }

bool PanelApp::TakeStartFile(const char* path) {
  PanelSettings loaded;
  startFile_ = path;
  startLoad_ = LoadSettingsFile(path, settings_, &loaded);
  if (startLoad_.outcome != LoadOutcome::Loaded) return false;
  settings_ = loaded;  // before the panel exists: its one push sends the file's values
  return true;
}

int PanelApp::Run(PortIo& io) {
  InitPanelControls();
  ProgramOutputs outputs = OpenChosenOutput(io);
  {
    PanelDialog dialog(instance_, settings_, outputs, store_);
    if (startFile_ != nullptr && startLoad_.outcome != LoadOutcome::Loaded) dialog.ReportOnceShown(startLoad_, startFile_);
    dialog.Run();
  }
  SaveSettings(settings_, store_, outputs.Chosen().DeviceName());
  return kExitDone;
}

int PanelApp::Send(PortIo& io) {
  if (startFile_ != nullptr && startLoad_.outcome != LoadOutcome::Loaded) {
    ReportLoad(nullptr, instance_, startLoad_, startFile_);
    return kExitBadStart;
  }
  InitPanelControls();
  ProgramOutputs outputs = OpenChosenOutput(io);
  bool reached = false;
  {
    PanelDialog dialog(instance_, settings_, outputs, store_);
    reached = dialog.SendWithoutWindow();
  }
  if (startFile_ != nullptr) SaveSettings(settings_, store_, outputs.Chosen().DeviceName());
  return reached ? kExitDone : kExitCardUnreachable;
}

int ShowUsage(HINSTANCE resources) {
  char text[512];
  if (LoadStringA(resources, IDS_USAGE, text, sizeof text) > 0) MessageBoxA(nullptr, text, "Tambrel", MB_OK | MB_ICONINFORMATION);
  return kExitBadStart;
}
