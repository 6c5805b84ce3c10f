#include "panel/ui/panel_app_win32.h"

#include <commctrl.h>

#include "panel/ui/panel_dialog_win32.h"
#include "panel/ui/program_outputs_win32.h"

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

PanelApp::PanelApp(HINSTANCE instance, bool withWindow)
    : instance_(instance),
      notices_(instance),
      run_(store_, files_, withWindow ? static_cast<ControlSurface&>(windowControls_) : unseenControls_, notices_) {
  run_.LoadStored();
}

int PanelApp::Run(PortIo& io, TickSource& clock, const char* startFile, const char* programName) {
  InitPanelControls();
  ProgramOutputs outputs(io, clock, run_.PortBase(), "");
  run_.Connect(outputs.Chosen());
  {
    PanelDialog dialog(instance_, run_, windowControls_, notices_, outputs, startFile, programName);
    dialog.Run();
  }
  run_.End();
  return kExitDone;
}

int PanelApp::Send(PortIo& io, TickSource& clock, const char* file) {
  ProgramOutputs outputs(io, clock, run_.PortBase(), "");
  run_.Connect(outputs.Chosen());
  return run_.SendWithoutWindow(file);
}
