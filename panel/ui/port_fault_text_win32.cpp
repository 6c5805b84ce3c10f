#include "panel/ui/port_fault_text_win32.h"

#include "panel/device/port_driver_search.h"
#include "runtime/program_path_win32.h"

bool FormatPortFaultText(HINSTANCE resources, int stringId, uint16_t port, char* text) {
  char format[256];
  if (stringId == 0 || LoadStringA(resources, stringId, format, sizeof format) == 0) return false;
  // Every text takes the same arguments in the same order and uses those it needs.
  char folder[kLibraryPathCapacity];
  ProgramFolder(folder, sizeof folder);
  wsprintfA(text, format, static_cast<unsigned>(port), InstallablePortDriver(sizeof(void*) * 8), folder);
  return true;
}
