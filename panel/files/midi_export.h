#pragma once
// "Save &MIDI": asks for a file name (with the dump type, ".syx" is added to a name without an
// extension, asking before a file of the longer name is replaced), records the panel's state as a MIDI file image (or, for a
// name ending in .syx, as a system-exclusive dump) and writes it in one piece. Any failure is told
// to the user and leaves no file behind.
#include <cstddef>

#include "panel/files/export_strings.h"
#include "panel/files/midi_image.h"

class ExportFile;
class ExportUi;
class ImageMemory;

// Outcomes; the failures are the string-table numbers of their messages.
constexpr int kExportSaved = 0;
constexpr int kExportCancelled = -1;
constexpr int kExportCannotCreate = IDS_CANNOT_CREATE;
constexpr int kExportWriteFailed = IDS_WRITE_FAILED;
constexpr int kExportNoMemory = IDS_NO_MEMORY;

int SaveMidiFile(const ExportInput& input, ExportUi& ui, ExportFile& file, ImageMemory& memory);

// Whether a file of this name is saved as a dump: it ends in ".syx", in any letter case.
bool NamesDump(const char* path);
// Adds ".syx" to a name whose last part has no extension. False, and the name unchanged, when it
// has one or the longer name would not fit `capacity` characters with its final zero.
bool AddDumpExtension(char* path, size_t capacity);

// Whether the export got as far as recording the image (it was saved, or the write failed).
inline bool ImageWasRecorded(int result) { return result == kExportSaved || result == kExportWriteFailed; }
