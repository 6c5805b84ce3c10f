#pragma once
// The "Save &MIDI" button's handler.
#include <windows.h>

class PanelController;

void ExportToFile(HWND dialog, PanelController& controller);
