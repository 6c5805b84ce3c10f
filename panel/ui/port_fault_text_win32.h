#pragma once
// What the panel tells the user when the MIDI interface cannot be reached: a text of the string
// table, filled in with the port (in hex) and, where the system wants a port-driver library, the
// library's file name and the folder to put it in.
#include <windows.h>

#include "panel/device/mpu_port.h"

constexpr int kPortFaultTextCapacity = 640;

// The string-table number of the text for a fault; 0 for none.
int PortFaultTextId(PortFault fault);

// Writes the text for `fault` into text (kPortFaultTextCapacity characters); false when there is
// none to tell.
bool FormatPortFaultText(HINSTANCE resources, PortFault fault, uint16_t port, char* text);
