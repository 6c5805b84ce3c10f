#pragma once
// The panel's controls when no window shows them (the card restored without a window): whatever
// the event rules set is dropped. The start-up push only sets controls; it never reads them back.
#include "panel/ui/control_surface.h"

class UnseenControls final : public ControlSurface {
 public:
  void SetSliderRange(int, int, int) override {}
  void SetSliderTick(int, int) override {}
  void SetSliderPos(int, int) override {}
  int SliderPos(int) override { return 0; }

  void SetEditLimit(int, int) override {}
  void SetUpDownRange(int, int, int) override {}
  void SetText(int, const char*) override {}
  void GetText(int, char* buffer, size_t size) override {
    if (size > 0) buffer[0] = '\0';
  }

  void SetCheck(int, bool) override {}

  int ComboSelection(int) override { return -1; }
  void SetComboSelection(int, int) override {}

  void Show(int, bool) override {}
  void Focus(int) override {}
};
