#pragma once
// "Save &MIDI": asks for a file name, records the panel's state as a MIDI file image and writes it
// in one piece. Any failure is told to the user and leaves no file behind.
class ExportFile;
class ExportUi;
class ImageMemory;
class PanelController;

// Outcomes; the failures are the string-table numbers of their messages.
constexpr int kExportSaved = 0;
constexpr int kExportCancelled = -1;
constexpr int kExportCannotCreate = 177;
constexpr int kExportWriteFailed = 178;
constexpr int kExportNoMemory = 179;

int SaveMidiFile(PanelController& controller, ExportUi& ui, ExportFile& file, ImageMemory& memory);
