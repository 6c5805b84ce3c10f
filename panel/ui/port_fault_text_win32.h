#pragma once
// What the panel tells the user when the MIDI interface cannot be reached: a text of the string
// table, filled in with the port (in hex) and, where the system wants a port-driver library, the
// library's file name and the folder to put it in.
#include <windows.h>

#include <cstdint>

constexpr int kPortFaultTextCapacity = 640;

// Writes the text with string-table number stringId into text (kPortFaultTextCapacity
// characters); false when there is no such text.
bool FormatPortFaultText(HINSTANCE resources, int stringId, uint16_t port, char* text);
