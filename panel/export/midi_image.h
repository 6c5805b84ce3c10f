#pragma once
// The panel's state as a Standard MIDI File image (format 0, one track, 96 ticks per quarter,
// 500000 us per quarter): the reverb/chorus block, the sixteen channel receive states, the master
// block and the digital-audio block as system-exclusive events. The image is recorded by the same
// message builders that talk to the card, with a MessageRecorder in place of the card.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"
#include "panel/core/panel_settings.h"
#include "panel/export/export_strings.h"

class ImageMemory;

constexpr size_t kImageBufferSize = 4096;
constexpr size_t kImageHeaderSize = 29;      // MThd chunk, MTrk header, tempo event
constexpr size_t kTrackLengthOffset = 18;    // 32-bit big-endian length of the track chunk
constexpr size_t kTrackDataOffset = 22;      // first byte counted by the track length

// Time the card needs between two channel messages.
constexpr uint32_t kChannelSpacingMicroseconds = 43520;

// Results, the string-table numbers of the messages the user sees.
constexpr int kImageBuilt = 0;
constexpr int kImageNoMemory = IDS_NO_MEMORY;

// What the export takes from the panel: the settings, which the builders update as they do for
// the card (the type, the master tune and the digital volume are stored as they are recorded),
// and what the panel's controls show.
struct ExportInput {
  PanelSettings& settings;
  DigitalTarget target;       // where the digital-audio block goes
  int reverbType;             // the type control's selection; none (outside 0..7): the type in force
  int masterTunePosition;     // the master tune slider
  int digitalVolumePosition;  // the digital volume slider
};

// A recorded file: the block obtained for it (null when none was given), which the caller writes
// and releases, and the file's size.
struct MidiImage {
  uint8_t* block = nullptr;
  uint32_t size = 0;
};

// Records the image into a kImageBufferSize block from `memory`. Returns kImageBuilt, or
// kImageNoMemory when no block was given or the image did not fit. Nothing reaches the card while
// the image is recorded.
int BuildImage(ExportInput& input, ImageMemory& memory, MidiImage* image);
