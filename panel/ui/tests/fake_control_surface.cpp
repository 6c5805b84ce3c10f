#include "panel/ui/tests/fake_control_surface.h"

#include <algorithm>
#include <cstring>

#include "panel/ui/panel_controller.h"

void FakeControlSurface::SetSliderRange(int id, int low, int high) {
  FakeSlider& slider = sliders[id];
  slider.low = low;
  slider.high = high;
  slider.pos = std::clamp(slider.pos, low, high);
}

void FakeControlSurface::SetSliderTick(int id, int position) {
  FakeSlider& slider = sliders[id];
  if (position >= slider.low && position <= slider.high) slider.tick = position;
}

void FakeControlSurface::SetSliderPos(int id, int position) {
  FakeSlider& slider = sliders[id];
  slider.pos = std::clamp(position, slider.low, slider.high);
}

void FakeControlSurface::GetText(int id, char* buffer, size_t size) {
  if (size == 0) return;
  const std::string& text = texts[id];
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

int FakeControlSurface::ComboSelection(int id) {
  auto it = comboSelections.find(id);
  return it == comboSelections.end() ? -1 : it->second;
}

void FakeControlSurface::SetComboSelection(int id, int index) {
  const char* name = ReverbTypeName(index);
  comboSelections[id] = name ? index : -1;
  texts[id] = name ? name : "";
}
