#include "panel/ui/unseen_controls.h"

#include "panel/core/message_layout.h"

namespace {
int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }
}  // namespace

UnseenControls::Slider* UnseenControls::Find(int id) {
  for (int i = 0; i < sliderCount_; ++i) {
    if (sliders_[i].id == id) return &sliders_[i];
  }
  if (sliderCount_ == kCapacity) return nullptr;
  sliders_[sliderCount_] = {id, 0, 100, 0};
  return &sliders_[sliderCount_++];
}

void UnseenControls::SetSliderRange(int id, int low, int high) {
  Slider* slider = Find(id);
  if (slider == nullptr) return;
  slider->low = low;
  slider->high = high;
  slider->position = Clamp(slider->position, low, high);
}

void UnseenControls::SetSliderPos(int id, int position) {
  Slider* slider = Find(id);
  if (slider != nullptr) slider->position = Clamp(position, slider->low, slider->high);
}

int UnseenControls::SliderPos(int id) {
  const Slider* slider = Find(id);
  return slider != nullptr ? slider->position : 0;
}

void UnseenControls::SetComboSelection(int, int index) {
  comboSelection_ = kReverbTypeRange.Contains(index) ? index : -1;
}
