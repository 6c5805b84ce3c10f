#include "panel/ui/program_outputs_win32.h"

ProgramOutputs::ProgramOutputs(PortIo& io, TickSource& clock, uint32_t port, const char* deviceName)
    : mpu_(io, clock), ports_(mpu_, port), device_(devices_, clock), chosen_(ports_, device_) {
  chosen_.Choose(deviceName);
}
