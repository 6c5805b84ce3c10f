#include "panel/device/output_list.h"

namespace {
bool SameName(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}
}  // namespace

bool OutputList::Next(OutputChoice* choice) {
  if (next_ == 0) {
    next_ = 1;
    choice->kind = OutputChoice::Kind::Card;
    choice->port = port_;
    choice->name[0] = '\0';
    return true;
  }
  // The system is asked for its devices once the walk goes past the card.
  if (next_ == 1) count_ = devices_.DeviceCount();
  while (next_ <= count_) {
    choice->kind = OutputChoice::Kind::Device;
    choice->deviceId = next_++ - 1;
    if (devices_.DeviceName(choice->deviceId, choice->name)) return true;
  }
  return false;
}

void OutputList::Find(const char* name, OutputChoice* found) {
  if (name == nullptr) name = "";
  while (Next(found)) {
    if (SameName(found->name, name)) return;
  }
  found->kind = OutputChoice::Kind::Missing;
  size_t length = 0;
  for (; name[length] != '\0' && length + 1 < sizeof found->name; ++length) found->name[length] = name[length];
  found->name[length] = '\0';
}
