#pragma once
// The panel's controls as child windows of the dialog: the ControlSurface that PanelController
// drives, over the common controls' messages.
#include <windows.h>

#include "panel/ui/control_surface.h"

class Win32ControlSurface : public ControlSurface {
 public:
  void Attach(HWND dialog) { dialog_ = dialog; }

  void SetSliderRange(int id, int low, int high) override;
  void SetSliderTick(int id, int position) override;
  void SetSliderPos(int id, int position) override;
  int SliderPos(int id) override;

  void SetEditLimit(int id, int characters) override;
  void SetUpDownRange(int id, int low, int high) override;
  void SetText(int id, const char* text) override;
  void GetText(int id, char* buffer, size_t size) override;

  void SetCheck(int id, bool checked) override;

  int ComboSelection(int id) override;
  void SetComboSelection(int id, int index) override;
  // Not part of ControlSurface: the dialog fills the list once before the start-up push.
  void AddComboItem(int id, const char* text);

  void Show(int id, bool visible) override;
  void Focus(int id) override;

 private:
  LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam);

  HWND dialog_ = nullptr;
};
