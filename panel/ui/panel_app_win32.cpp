#include "panel/ui/panel_app_win32.h"

#include <commctrl.h>

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

int PanelApp::Run(PortIo& io) {
  InitPanelControls();
  CardOutputs outputs = OpenChosenOutput(io);
  {
    PanelDialog dialog(instance_, settings_, outputs, store_);
    dialog.Run();
  }
  SaveSettings(settings_, store_, outputs.Chosen().DeviceName());
  return 0;
}
