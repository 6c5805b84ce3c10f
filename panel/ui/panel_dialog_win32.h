#pragma once
// The panel's window: dialog template 102 run as the program's main window. A thin adapter over
// the run of the panel: it forwards each control event to the run's event rules, the window menu's
// items, dropped files, "Panic" and the requests of later starts of the program to the run, and
// asks the run to tell what has to be told once the window is on the screen.
#include <windows.h>

#include "dialog/dialog_win32.h"
#include "panel/ui/control_surface_win32.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/panel_notices_win32.h"
#include "panel/ui/panel_run.h"
#include "panel/ui/program_outputs_win32.h"
#include "panel/ui/startup_entry_win32.h"

class PanelDialog final : public Dialog<PanelDialog> {
 public:
  // Posted to itself at the end of initialisation: what the start has to tell is told once the
  // window is on the screen.
  static constexpr UINT kCheckPortMessage = WM_APP + 1;
  // Posted to itself once a request of a later start is answered: its box shows now.
  static constexpr UINT kShowHeldBoxMessage = WM_APP + 2;

  // controls and notices: the ones `run` was made with; startFile: the file named at start, or null;
  // programName: the program's own name (its running panel's mark, its entry at Windows start).
  PanelDialog(HINSTANCE instance, PanelRun& run, Win32ControlSurface& controls, BoxNotices& notices,
              ProgramOutputs& outputs, const char* startFile, const char* programName);
  ~PanelDialog();

  // Runs the panel until Escape or the close box ends it.
  int Run() { return RunModal(resources_, IDD_PANEL); }

 protected:
  friend Dialog;
  bool OnInitDialog();
  bool OnCommand(int id, int code, HWND control);
  bool OnHScroll(HWND control, int code);
  bool OnSysCommand(UINT command);
  void OnInitMenuPopup(HMENU menu, bool windowMenu);
  void OnDropFiles(HDROP drop);
  void OnEndSession(bool ending);
  bool OnAppMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // A request of a later start of the program; the answer is its exit code.
  LRESULT OnCopyData(const COPYDATASTRUCT& data);
  void OnDestroy();

 private:
  bool HandleCommand(int id, int code);
  // The window menu: the panel's own items above a separator and the standard ones.
  void AddWindowMenuItems();
  void ChooseLoadFile();
  void ChooseOutput();
  void SaveMidi();
  // No box over a closing window: the edit boxes still apply their values as it goes away.
  void TellNewFault();

  HINSTANCE resources_;
  HICON icon_;
  HICON smallIcon_;
  PanelRun& run_;
  Win32ControlSurface& controls_;
  BoxNotices& notices_;
  ProgramOutputs& outputs_;
  const char* startFile_;
  const char* mark_;
  const RegistryStartupEntry startupEntry_;
};
