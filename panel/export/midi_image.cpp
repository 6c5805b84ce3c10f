#include "panel/export/midi_image.h"

#include "panel/core/parameter_messages.h"
#include "panel/export/image_memory.h"
#include "panel/export/message_recorder.h"

namespace {

// MThd: length 6, format 0, one track, 96 ticks per quarter; MTrk with its length still open;
// delta 0, tempo 500000 us per quarter (07 A1 20).
const uint8_t kHeaderTemplate[kImageHeaderSize] = {
    'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x60, 'M',
    'T', 'r', 'k', 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};

const uint8_t kEndOfTrack[4] = {0x00, 0xFF, 0x2F, 0x00};

// The length byte of an event that carries a data set of `dataCount` data bytes: all after F0h.
constexpr uint8_t EventLength(size_t dataCount) { return static_cast<uint8_t>(DataSetLength(dataCount) - 1); }

// The merged data sets: the master block runs from the tune (40 00 00) to the key shift
// (40 00 05) with the volume between; the digital block from the volume to the chorus.
constexpr size_t kMasterBlockData = kKeyShiftAddress.low - kMasterTuneAddress.low + 1;
constexpr size_t kDigitalBlockData = kDigitalOffsets.high - kDigitalOffsets.low + 1;

// Extends the message just recorded by `count` more data bytes and closes it again: one data set
// that covers a whole block of parameters.
bool ExtendRecorded(const ParameterMessages& builders, MessageRecorder& recorder, const uint8_t* data,
                    size_t count) {
  if (!recorder.Reopen(builders.ChecksumSum())) return false;
  for (size_t i = 0; i < count; ++i) recorder.AppendData(data[i]);
  recorder.CloseRecordedMessage();
  return !recorder.Overflowed();
}

// Event 1: the type message, extended by the other nine effects.
bool RecordEffects(ParameterMessages& builders, MessageRecorder& recorder, const ExportInput& input) {
  recorder.SetRecordLength(EventLength(kEffectCount));
  // With no type selected (its text was edited to match none, which clears the selection) the
  // card still has the type sent last, and that is the one saved.
  builders.SendReverbType(input.reverbType);
  return ExtendRecorded(builders, recorder, input.settings.EffectsBlock + kReverbLevel, kEffectCount - 1);
}

// Events 2..17: each channel's stored receive state, channel 16 first. Inverting the word first
// makes each toggle send, and restore, the stored bit. All sixteen toggles always run so the word
// is whole again even when the buffer ran out.
bool RecordChannels(ParameterMessages& builders, MessageRecorder& recorder, PanelSettings& settings) {
  settings.Mute = static_cast<uint16_t>(~settings.Mute);
  for (int channel = kChannelCount - 1; channel >= 0; --channel) {
    recorder.SetRecordLength(EventLength(1));
    builders.ToggleChannel(channel);
    recorder.WaitBeforeNextEvent(kChannelSpacingMicroseconds);
  }
  return !recorder.Overflowed();
}

// Event 18: master tune extended by master volume and key shift.
bool RecordMaster(ParameterMessages& builders, MessageRecorder& recorder, const ExportInput& input) {
  recorder.SetRecordLength(EventLength(kMasterBlockData));
  builders.SendMasterTune(input.masterTunePosition);
  const uint8_t volumeAndKeyShift[2] = {input.settings.MVol, input.settings.MTrn};
  return ExtendRecorded(builders, recorder, volumeAndKeyShift, sizeof volumeAndKeyShift);
}

// Event 19: digital volume for the target, extended by the rest of the digital block.
bool RecordDigital(ParameterMessages& builders, MessageRecorder& recorder, const ExportInput& input) {
  recorder.SetRecordLength(EventLength(kDigitalBlockData));
  builders.SendDigital(kDigitalVolume, input.digitalVolumePosition);
  return ExtendRecorded(builders, recorder, input.settings.DigitalBlock + kDigitalVolume + 1, kDigitalBlockData - 1);
}

}  // namespace

int BuildImage(ExportInput& input, ImageMemory& memory, MidiImage* image) {
  *image = MidiImage{};
  uint8_t* const block = memory.Obtain(kImageBufferSize);
  image->block = block;
  if (block == nullptr) return kImageNoMemory;

  MessageRecorder recorder(block, kImageBufferSize);
  recorder.Append(kHeaderTemplate, sizeof kHeaderTemplate);
  ParameterMessages builders(input.settings, recorder, input.target);
  const bool recorded = RecordEffects(builders, recorder, input) &&
                        RecordChannels(builders, recorder, input.settings) &&
                        RecordMaster(builders, recorder, input) && RecordDigital(builders, recorder, input);
  // The delta time of the last close is not used: the track ends at once.
  if (recorded) recorder.Append(kEndOfTrack, sizeof kEndOfTrack);
  if (!recorded || recorder.Overflowed()) return kImageNoMemory;

  const uint32_t size = static_cast<uint32_t>(recorder.Size());
  const uint32_t trackLength = size - kTrackDataOffset;
  block[kTrackLengthOffset + 2] = static_cast<uint8_t>(trackLength >> 8);
  block[kTrackLengthOffset + 3] = static_cast<uint8_t>(trackLength);
  image->size = size;
  return kImageBuilt;
}
