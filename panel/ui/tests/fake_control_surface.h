#pragma once
// A ControlSurface made of plain fields, behaving like the platform's controls where the panel
// depends on it: a slider keeps its position inside its range, a combo box selection outside its
// list selects nothing, and selecting an item puts its name in the edit field.
#include <map>
#include <string>

#include "panel/ui/control_surface.h"

struct FakeSlider {
  int low = 0;
  int high = 100;  // a new trackbar's range
  int pos = 0;
  int tick = -1;   // the last tick mark set inside the range; -1: none
};

class FakeControlSurface : public ControlSurface {
 public:
  void SetSliderRange(int id, int low, int high) override;
  void SetSliderTick(int id, int position) override;
  void SetSliderPos(int id, int position) override;
  int SliderPos(int id) override { return sliders[id].pos; }

  void SetEditLimit(int id, int characters) override { editLimits[id] = characters; }
  void SetUpDownRange(int id, int low, int high) override { upDownRanges[id] = {low, high}; }
  void SetText(int id, const char* text) override { texts[id] = text; }
  void GetText(int id, char* buffer, size_t size) override;

  void SetCheck(int id, bool checked) override { checks[id] = checked; }

  int ComboSelection(int id) override;
  void SetComboSelection(int id, int index) override;

  void Show(int id, bool shown) override { visible[id] = shown; }
  void Focus(int id) override { focused = id; }

  // A user gesture: the thumb moves without any notification reaching the panel yet.
  void MoveThumb(int id, int position) { SetSliderPos(id, position); }

  std::map<int, FakeSlider> sliders;
  std::map<int, int> editLimits;
  std::map<int, std::pair<int, int>> upDownRanges;
  std::map<int, std::string> texts;  // edit boxes, buttons, and the combo box's edit field
  std::map<int, bool> checks;
  std::map<int, int> comboSelections;
  std::map<int, bool> visible;
  int focused = 0;
};
