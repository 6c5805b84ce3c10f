#pragma once
// The panel's controls when no window shows them (restoring the card without a window): they keep
// what the event rules read back as the real controls would (a slider's position inside its range,
// a combo selection only of an item in its list) and nothing a user would see.
#include "panel/ui/control_surface.h"

class UnseenControls final : public ControlSurface {
 public:
  void SetSliderRange(int id, int low, int high) override;
  void SetSliderTick(int, int) override {}
  void SetSliderPos(int id, int position) override;
  int SliderPos(int id) override;

  void SetEditLimit(int, int) override {}
  void SetUpDownRange(int, int, int) override {}
  void SetText(int, const char*) override {}
  void GetText(int, char* buffer, size_t size) override {
    if (size > 0) buffer[0] = '\0';
  }

  void SetCheck(int, bool) override {}

  int ComboSelection(int) override { return comboSelection_; }
  void SetComboSelection(int id, int index) override;

  void Show(int, bool) override {}
  void Focus(int) override {}

 private:
  struct Slider {
    int id;
    int low;
    int high;
    int position;
  };
  // The slider of this number, made with a new trackbar's range (0..100) when first named; null
  // when more sliders are named than the panel has.
  Slider* Find(int id);

  static constexpr int kCapacity = 24;
  Slider sliders_[kCapacity] = {};
  int sliderCount_ = 0;
  int comboSelection_ = -1;
};
