#include "panel/device/chosen_output.h"

void ChosenOutput::Choose(const char* deviceName) {
  OutputChoice choice;
  Offered().Find(deviceName, &choice);
  if (choice.kind == OutputChoice::Kind::Card) {
    device_.Close();
    current_ = &ports_;
    return;
  }
  device_.Open(choice);  // lets the device it had go first
  current_ = &device_;
}
