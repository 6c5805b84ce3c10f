#include "panel/files/midi_image.h"

#include "panel/files/image_memory.h"
#include "panel/files/message_recorder.h"
#include "panel/files/saved_state.h"

namespace {

// MThd: length 6, format 0, one track, 96 ticks per quarter; MTrk with its length still open;
// delta 0, tempo 500000 us per quarter (07 A1 20).
const uint8_t kHeaderTemplate[kImageHeaderSize] = {
    'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x60, 'M',
    'T', 'r', 'k', 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};

// The track ends at once after the last message.
const uint8_t kEndOfTrack[4] = {0x00, 0xFF, 0x2F, 0x00};

}  // namespace

int BuildImage(const ExportInput& input, ImageMemory& memory, MidiImage* image, SavedForm form) {
  *image = MidiImage{};
  uint8_t* const block = memory.Obtain(kImageBufferSize);
  image->block = block;
  if (block == nullptr) return kImageNoMemory;

  if (form == SavedForm::Dump) {
    MessageRecorder dump(block, kImageBufferSize, MessageRecorder::Form::Dump);
    SendSavedState(input.settings, input.target, dump);
    if (dump.Overflowed()) return kImageNoMemory;
    image->size = static_cast<uint32_t>(dump.Size());
    return kImageBuilt;
  }

  MessageRecorder recorder(block, kImageBufferSize);
  recorder.Append(kHeaderTemplate, sizeof kHeaderTemplate);
  SendSavedState(input.settings, input.target, recorder);
  recorder.Append(kEndOfTrack, sizeof kEndOfTrack);
  if (recorder.Overflowed()) return kImageNoMemory;

  const uint32_t size = static_cast<uint32_t>(recorder.Size());
  const uint32_t trackLength = size - kTrackDataOffset;
  block[kTrackLengthOffset + 2] = static_cast<uint8_t>(trackLength >> 8);
  block[kTrackLengthOffset + 3] = static_cast<uint8_t>(trackLength);
  image->size = size;
  return kImageBuilt;
}
