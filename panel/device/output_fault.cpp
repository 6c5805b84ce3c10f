#include "panel/device/output_fault.h"

void FaultToTell::End() {
  fault_.kind = OutputFault::Kind::None;
  told_ = false;
}

OutputFault FaultToTell::TakeNew() {
  if (!Lasts() || told_) return {};
  told_ = true;
  return fault_;
}
