#pragma once
// The panel's state as a file image: a Standard MIDI File (format 0, one track, 96 ticks per
// quarter, 500000 us per quarter) with the saved state's messages (saved_state.h) as
// system-exclusive events, or a dump of the same messages back to back and nothing else.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"
#include "panel/core/panel_settings.h"
#include "panel/files/export_strings.h"

class ImageMemory;

constexpr size_t kImageBufferSize = 4096;
constexpr size_t kImageHeaderSize = 29;      // MThd chunk, MTrk header, tempo event
constexpr size_t kTrackLengthOffset = 18;    // 32-bit big-endian length of the track chunk
constexpr size_t kTrackDataOffset = 22;      // first byte counted by the track length

// Results, the string-table numbers of the messages the user sees.
constexpr int kImageBuilt = 0;
constexpr int kImageNoMemory = IDS_NO_MEMORY;

// What the export saves: the settings as the panel's controls show them (a copy the export only
// reads) and where the digital-audio block goes.
struct ExportInput {
  const PanelSettings& settings;
  DigitalTarget target;
};

enum class SavedForm : uint8_t { MidiFile, Dump };

// A recorded file: the block obtained for it (null when none was given), which the caller writes
// and releases, and the file's size.
struct MidiImage {
  uint8_t* block = nullptr;
  uint32_t size = 0;
};

// Records the image into a kImageBufferSize block from `memory`. Returns kImageBuilt, or
// kImageNoMemory when no block was given or the image did not fit. Nothing reaches the card.
int BuildImage(const ExportInput& input, ImageMemory& memory, MidiImage* image, SavedForm form = SavedForm::MidiFile);
