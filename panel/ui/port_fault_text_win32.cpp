#include "panel/ui/port_fault_text_win32.h"

#include "panel/device/port_driver_search.h"
#include "panel/ui/panel_controls.h"

int PortFaultTextId(PortFault fault) {
  switch (fault) {
    case PortFault::NotResponding:
      return IDS_PORT_NOT_RESPONDING;
    case PortFault::AccessRefused:
      return IDS_PORT_REFUSED;
    case PortFault::NoPortDriver:
      return IDS_PORT_NO_DRIVER;
    case PortFault::PortDriverNotRunning:
      return IDS_PORT_DRIVER_NOT_RUNNING;
    case PortFault::None:
      break;
  }
  return 0;
}

bool FormatPortFaultText(HINSTANCE resources, PortFault fault, uint16_t port, char* text) {
  const int id = PortFaultTextId(fault);
  char format[256];
  if (id == 0 || LoadStringA(resources, id, format, sizeof format) == 0) return false;
  // Every text takes the same arguments in the same order and uses those it needs.
  char program[kLibraryPathCapacity];
  char folder[kLibraryPathCapacity] = "";
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length > 0 && length < sizeof program) FolderOfProgram(program, folder, sizeof folder);
  wsprintfA(text, format, static_cast<unsigned>(port), InstallablePortDriver(sizeof(void*) * 8), folder);
  return true;
}
