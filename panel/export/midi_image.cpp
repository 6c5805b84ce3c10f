#include "panel/export/midi_image.h"

#include <cstring>

#include "panel/export/image_memory.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/panel_controls.h"

namespace {

// MThd: length 6, format 0, one track, 96 ticks per quarter; MTrk with its length still open;
// delta 0, tempo 500000 us per quarter (07 A1 20).
const uint8_t kHeaderTemplate[kImageHeaderSize] = {
    'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x60, 'M',
    'T', 'r', 'k', 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};

const uint8_t kEndOfTrack[4] = {0x00, 0xFF, 0x2F, 0x00};

// A byte takes 320 us on the MIDI line (31250 baud); the card wants the time of 126 more bytes
// after each message before the next one.
constexpr uint32_t kMicrosecondsPerByte = 320;
constexpr uint32_t kSettleMicroseconds = 126 * kMicrosecondsPerByte;

// Message lengths as the builders produce them, and the length bytes the merged events carry.
constexpr size_t kDeviceMessageLength = 11;
constexpr size_t kMasterTuneMessageLength = 14;
constexpr uint8_t kEffectsEventLength = 19;
constexpr uint8_t kChannelEventLength = 10;
constexpr uint8_t kMasterEventLength = 15;
constexpr uint8_t kDigitalEventLength = 18;

size_t VariableLengthSize(uint32_t value) {
  size_t size = 1;
  while (value >>= 7) ++size;
  return size;
}

// Where the sink will put the next event, and how long an event of a `length`-byte message is.
struct PendingEvent {
  const uint8_t* start;
  size_t size;
};

PendingEvent Expect(const SinkState& sink, size_t length) {
  return {sink.cursor, VariableLengthSize(sink.deltaTicks) + 2 + (length - 1)};
}

// True when exactly the expected event landed in the buffer, ending in F7h: the image is only
// ever extended from a message it really holds.
bool Recorded(const SinkState& sink, PendingEvent event) {
  return !sink.overflowed && sink.cursor == event.start + event.size && sink.cursor[-1] == 0xF7;
}

// Records one message through `send`.
template <typename Send>
bool RecordOne(SinkState& sink, size_t length, Send send) {
  const PendingEvent event = Expect(sink, length);
  send();
  return Recorded(sink, event);
}

// Moves back over the checksum and F7h of the message just recorded so it can be extended, from
// the sum its builder made the checksum from.
void Reopen(SinkState& sink, const ParameterMessages& builders) {
  sink.cursor -= 2;
  sink.checksumSum = builders.ChecksumSum();
}

// Appends one data byte to the open message and to its checksum sum. Data bytes are 7-bit: a
// stored value beyond that must not become a status byte inside the system-exclusive event.
bool AppendData(SinkState& sink, uint8_t value) {
  if (sink.cursor >= sink.bufferEnd) {
    sink.overflowed = true;
    return false;
  }
  const uint8_t byte = value & 0x7F;
  *sink.cursor++ = byte;
  sink.checksumSum = static_cast<uint8_t>(sink.checksumSum + byte);
  return true;
}

bool AppendEffectsBlock(SinkState& sink, const PanelSettings& settings) {
  for (int index = kReverbLevel; index <= kChorusDepth; ++index) {
    if (!AppendData(sink, settings.EffectsBlock[index])) return false;
  }
  return true;
}

bool AppendDigitalBlock(SinkState& sink, const PanelSettings& settings) {
  for (int offset = kDigitalBrightness; offset <= kDigitalChorus; ++offset) {
    if (!AppendData(sink, settings.DigitalBlock[offset])) return false;
  }
  return true;
}

// Event 1: the reverb type message as the dialog applies it, extended by the other nine effects.
bool RecordEffects(PanelController& controller, SinkState& sink, PanelSettings& settings) {
  sink.recordLength = kEffectsEventLength;
  const PendingEvent event = Expect(sink, kDeviceMessageLength);
  controller.ApplyReverbType();
  if (sink.cursor == event.start && !sink.overflowed) {
    // The combo box shows no type (its text was edited to match none, which clears the
    // selection). The card still has the type sent last, so that is the one saved.
    controller.Messages().SendReverbType(settings.EffectsBlock[kReverbType]);
  }
  if (!Recorded(sink, event)) return false;
  Reopen(sink, controller.Messages());
  if (!AppendEffectsBlock(sink, settings)) return false;
  CloseRecordedMessage(sink);
  return !sink.overflowed;
}

// Events 2..17: each channel's stored receive state, channel 16 first. Inverting the word first
// makes each toggle send, and restore, the stored bit. All sixteen toggles always run so the word
// is whole again even when the buffer ran out.
bool RecordChannels(ParameterMessages& messages, SinkState& sink, PanelSettings& settings) {
  settings.Mute = static_cast<uint16_t>(~settings.Mute);
  bool recorded = true;
  for (int channel = 15; channel >= 0; --channel) {
    sink.recordLength = kChannelEventLength;
    recorded &= RecordOne(sink, kDeviceMessageLength, [&] { messages.ToggleChannel(channel); });
    sink.deltaTicks = kChannelSpacingMicroseconds / kMicrosecondsPerTick;
  }
  return recorded;
}

// Event 18: master tune extended by master volume and key shift (GS addresses 40 00 00..05).
bool RecordMaster(PanelController& controller, SinkState& sink, const PanelSettings& settings) {
  ParameterMessages& messages = controller.Messages();
  const int tune = controller.Surface().SliderPos(IDC_MASTER_TUNE);
  sink.recordLength = kMasterEventLength;
  if (!RecordOne(sink, kMasterTuneMessageLength,
                 [&] { messages.SendControl(IDC_MASTER_TUNE, tune); })) {
    return false;
  }
  Reopen(sink, messages);
  if (!AppendData(sink, settings.MVol) || !AppendData(sink, settings.MTrn)) return false;
  CloseRecordedMessage(sink);
  return !sink.overflowed;
}

// Event 19: digital volume for the current target, extended by the rest of the digital block.
bool RecordDigital(PanelController& controller, SinkState& sink, const PanelSettings& settings) {
  ParameterMessages& messages = controller.Messages();
  const int volume = controller.Surface().SliderPos(IDC_DIGITAL_VOLUME);
  sink.recordLength = kDigitalEventLength;
  if (!RecordOne(sink, kDeviceMessageLength,
                 [&] { messages.SendControl(IDC_DIGITAL_VOLUME, volume); })) {
    return false;
  }
  Reopen(sink, messages);
  if (!AppendDigitalBlock(sink, settings)) return false;
  CloseRecordedMessage(sink);
  return !sink.overflowed;
}

bool AppendEndOfTrack(SinkState& sink) {
  if (sink.bufferEnd - sink.cursor < static_cast<ptrdiff_t>(sizeof kEndOfTrack)) {
    sink.overflowed = true;
    return false;
  }
  memcpy(sink.cursor, kEndOfTrack, sizeof kEndOfTrack);
  sink.cursor += sizeof kEndOfTrack;
  return true;
}

bool RecordEvents(PanelController& controller, SinkState& sink) {
  ParameterMessages& messages = controller.Messages();
  PanelSettings& settings = messages.Settings();
  return RecordEffects(controller, sink, settings) && RecordChannels(messages, sink, settings) &&
         RecordMaster(controller, sink, settings) && RecordDigital(controller, sink, settings) &&
         AppendEndOfTrack(sink);
}

}  // namespace

void CloseRecordedMessage(SinkState& sink) {
  if (sink.bufferEnd - sink.cursor < 2) {
    sink.overflowed = true;
  } else {
    *sink.cursor++ = DataSetChecksum(sink.checksumSum);
    *sink.cursor++ = 0xF7;
  }
  sink.deltaTicks =
      (sink.recordLength * kMicrosecondsPerByte + kSettleMicroseconds) / kMicrosecondsPerTick;
}

int BuildImage(PanelController& controller, ImageMemory& memory) {
  SinkState& sink = controller.Messages().Sink().state;
  uint8_t* const block = memory.Obtain(kImageBufferSize);
  sink.bufferStart = block;
  if (block == nullptr) return kImageNoMemory;

  memcpy(block, kHeaderTemplate, kImageHeaderSize);
  sink.bufferEnd = block + kImageBufferSize;
  sink.overflowed = false;
  sink.deltaTicks = 0;
  sink.cursor = block + kImageHeaderSize;  // record mode from here on

  const bool recorded = RecordEvents(controller, sink);
  const uint8_t* const end = sink.cursor;
  sink.cursor = nullptr;  // live mode again
  if (!recorded) return kImageNoMemory;

  const uint32_t trackLength = static_cast<uint32_t>(end - (block + kTrackDataOffset));
  block[kTrackLengthOffset + 2] = static_cast<uint8_t>(trackLength >> 8);
  block[kTrackLengthOffset + 3] = static_cast<uint8_t>(trackLength);
  sink.deltaTicks = trackLength + kTrackDataOffset;
  return kImageBuilt;
}
