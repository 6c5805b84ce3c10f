#include "panel/ui/port_fault_text_win32.h"

#include "panel/device/port_driver_search.h"
#include "panel/device/winmm_midi_out_win32.h"
#include "runtime/program_path_win32.h"

bool FormatOutputFaultText(HINSTANCE resources, const OutputFaultReport& report, char* text) {
  char format[256];
  if (report.stringId == 0 || LoadStringA(resources, report.stringId, format, sizeof format) == 0) return false;
  // Every text of a kind takes the same arguments in the same order and uses those it needs.
  if (report.fault.OfDevice()) {
    char reason[128];
    MidiOutErrorText(report.fault.systemCode, reason, sizeof reason);
    wsprintfA(text, format, report.fault.device, reason);
    return true;
  }
  char folder[kLibraryPathCapacity];
  ProgramFolder(folder, sizeof folder);
  wsprintfA(text, format, report.port & 0xFFFFu, InstallablePortDriver(sizeof(void*) * 8), folder);
  return true;
}
