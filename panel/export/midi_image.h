#pragma once
// The panel's state as a Standard MIDI File image (format 0, one track, 96 ticks per quarter,
// 500000 us per quarter): the reverb/chorus block, the sixteen channel receive states, the master
// block and the digital-audio block as system-exclusive events. The image is recorded by the same
// message builders that talk to the card, through the sink in record mode.
#include <cstddef>
#include <cstdint>

#include "panel/device/message_sink.h"

class ImageMemory;
class PanelController;

constexpr size_t kImageBufferSize = 4096;
constexpr size_t kImageHeaderSize = 29;      // MThd chunk, MTrk header, tempo event
constexpr size_t kTrackLengthOffset = 18;    // 32-bit big-endian length of the track chunk
constexpr size_t kTrackDataOffset = 22;      // first byte counted by the track length

constexpr uint16_t kTempoBeatsPerMinute = 120;
constexpr uint16_t kTicksPerQuarter = 96;
// One tick in microseconds: 60000000 / (120 * 96) = 5208.
constexpr uint32_t kMicrosecondsPerTick = 60000000u / (kTempoBeatsPerMinute * kTicksPerQuarter);
// Time the card needs between two channel messages.
constexpr uint32_t kChannelSpacingMicroseconds = 43520;

// Results, the string-table numbers of the messages the user sees.
constexpr int kImageBuilt = 0;
constexpr int kImageNoMemory = 179;

// Records the image into a kImageBufferSize block from `memory`, stored as the sink's bufferStart.
// Returns kImageBuilt, with the sink's deltaTicks holding the image's size, or kImageNoMemory when
// no block was given or the image did not fit. Either way the sink is back in live mode
// afterwards; the block (if any) stays at bufferStart for the caller to write and release.
// Nothing reaches the card while the image is recorded.
int BuildImage(PanelController& controller, ImageMemory& memory);

// Closes the message recorded last: appends its checksum (from checksumSum) and F7h at the cursor,
// then sets deltaTicks for the next event from recordLength (the time the card needs to take in
// this one). Never writes past bufferEnd; sets `overflowed` instead.
void CloseRecordedMessage(SinkState& sink);
