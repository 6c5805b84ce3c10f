#pragma once
// The panel's window: dialog template 102 run as the program's main window. It owns the parameter
// messages, sending through the chosen way to the card, forwards each control event to
// PanelController and shows the reports of an unreachable card that the controller gives.
#include <windows.h>

#include "dialog/dialog_win32.h"
#include "panel/core/parameter_messages.h"
#include "panel/core/panel_settings.h"
#include "panel/core/settings_store.h"
#include "panel/ui/program_outputs_win32.h"
#include "panel/files/settings_file.h"
#include "panel/ui/control_surface_win32.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/panel_controls.h"

class PanelDialog final : public Dialog<PanelDialog> {
 public:
  // Posted to itself at the end of initialisation: a fault of the start-up push is reported once
  // the window is on the screen.
  static constexpr UINT kCheckPortMessage = WM_APP + 1;

  PanelDialog(HINSTANCE instance, PanelSettings& settings, ProgramOutputs& outputs, SettingsStore& store);
  ~PanelDialog();

  // Runs the panel until Escape or the close box ends it.
  int Run() { return RunModal(resources_, IDD_PANEL); }
  // Sends the whole state as the panel does when it opens, without showing it. False, once the
  // user has been told in the panel's words, when the card cannot be reached.
  bool SendWithoutWindow();
  // A settings file named at start that could not be used is told once the panel shows.
  void ReportOnceShown(const LoadResult& result, const char* path) {
    startLoad_ = result;
    startFile_ = path;
  }

 protected:
  friend Dialog;
  bool OnInitDialog();
  bool OnCommand(int id, int code, HWND control);
  bool OnHScroll(HWND control, int code);
  bool OnSysCommand(UINT command);
  void OnDropFiles(HDROP drop);
  void OnEndSession(bool ending);
  bool OnAppMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool HandleCommand(int id, int code);
  // The window menu: the panel's own items above a separator and the standard ones.
  void AddWindowMenuItems();
  void ChooseLoadFile();
  void ChooseOutput();
  void LoadFile(const char* path);
  void SaveMidi();
  void ReportNewPortFault();
  // True when it told the user about a fault, in a box owned by `owner`.
  bool ReportPortFault(HWND owner);

  HINSTANCE resources_;
  HICON icon_;
  HICON smallIcon_;
  PanelSettings& settings_;
  SettingsStore& store_;
  ProgramOutputs& outputs_;
  ParameterMessages messages_;
  Win32ControlSurface surface_;
  PanelController controller_;
  LoadResult startLoad_ = {LoadOutcome::Loaded, FileFault::None};
  const char* startFile_ = nullptr;
};
