#include "panel/device/chosen_output.h"

void ChosenOutput::Choose(const char* deviceName) {
  device_.Close();
  if (deviceName == nullptr || deviceName[0] == '\0') {
    current_ = &ports_;
    return;
  }
  device_.Open(deviceName);
  current_ = &device_;
}
