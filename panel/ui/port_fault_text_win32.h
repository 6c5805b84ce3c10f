#pragma once
// What the panel tells the user when the card cannot be reached: a text of the string table,
// filled in with the port (in hex) and, where the system wants a port-driver library, the
// library's file name and the folder to put it in; or, for a MIDI output device, with the device's
// name and the system's reason why it cannot be opened.
#include <windows.h>

#include "panel/ui/panel_controller.h"

constexpr int kPortFaultTextCapacity = 640;

// Writes the text of the report into text (kPortFaultTextCapacity characters); false when there is
// nothing to tell.
bool FormatOutputFaultText(HINSTANCE resources, const OutputFaultReport& report, char* text);
