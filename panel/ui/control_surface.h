#pragma once
// The panel's controls as the portable event rules see them. The Win32 dialog implements it over
// its child windows; tests implement it with plain fields.
#include <cstddef>

class ControlSurface {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~ControlSurface() = default;

 public:

  // Sliders (trackbars).
  virtual void SetSliderRange(int id, int low, int high) = 0;
  virtual void SetSliderTick(int id, int position) = 0;
  virtual void SetSliderPos(int id, int position) = 0;
  virtual int SliderPos(int id) = 0;

  // Edit boxes and their up-down buddies.
  virtual void SetEditLimit(int id, int characters) = 0;
  virtual void SetUpDownRange(int id, int low, int high) = 0;
  virtual void SetText(int id, const char* text) = 0;  // any control's text (buttons too)
  virtual void GetText(int id, char* buffer, size_t size) = 0;

  // Check boxes.
  virtual void SetCheck(int id, bool checked) = 0;

  // The reverb type combo box: its list holds the eight type names in order.
  virtual int ComboSelection(int id) = 0;  // -1: none
  virtual void SetComboSelection(int id, int index) = 0;

  virtual void Show(int id, bool visible) = 0;
  // Moves the keyboard focus to the control, as the dialog's own navigation does: the control
  // left gets its kill-focus notification.
  virtual void Focus(int id) = 0;
};
