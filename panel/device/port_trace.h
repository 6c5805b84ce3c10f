#pragma once
// The text form of one port event, as the simulator's trace file holds it: one line per event,
// `OUT 0330 F0`, `IN 0330 FE`, `CLI`, `STI` (port and byte in upper-case hex), CR LF at the end.
#include <cstddef>

#include "panel/device/mpu401_model.h"

constexpr size_t kTraceLineCapacity = 16;

// Writes the line (with its CR LF, no terminating zero) and returns its length.
size_t FormatTraceLine(const PortEvent& event, char* out);
