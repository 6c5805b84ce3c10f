#pragma once
// The message sink of an export: each message becomes a system-exclusive event of a Standard MIDI
// File track in the export's buffer, or is kept as it is for a dump of messages back to back, and
// nothing reaches the card.
#include <cstddef>
#include <cstdint>

#include "panel/device/message_sink.h"

// The file's clock: 96 ticks per quarter note at 120 quarter notes per minute.
constexpr uint16_t kTempoBeatsPerMinute = 120;
constexpr uint16_t kTicksPerQuarter = 96;
// One tick in microseconds: 60000000 / (120 * 96) = 5208.
constexpr uint32_t kMicrosecondsPerTick = 60000000u / (kTempoBeatsPerMinute * kTicksPerQuarter);

// Writes `value` as a MIDI variable-length quantity (groups of 7 bits, most significant first,
// bit 7 set on all but the last) into out, which holds at least 5 bytes; returns the count.
size_t EncodeVariableLength(uint32_t value, uint8_t* out);

// A byte takes 320 us on the MIDI line (31250 baud); after each message the card wants the time
// of 126 more bytes before the next one.
constexpr uint32_t kMicrosecondsPerByte = 320;
constexpr uint32_t kSettleBytes = 126;

// The ticks the card needs to take in a message of n bytes before the next one: the time of its
// bytes after F0h and of the settling bytes, counted in whole ticks.
constexpr uint32_t TicksAfterMessage(size_t n) {
  return ((n > 0 ? static_cast<uint32_t>(n - 1) : 0) + kSettleBytes) * kMicrosecondsPerByte / kMicrosecondsPerTick;
}

class MessageRecorder : public MessageSink {
 public:
  enum class Form : uint8_t {
    TrackEvents,  // each message a system-exclusive event of a track
    Dump,         // each message as it is
  };

  // Records into the `capacity` bytes at bufferStart, from their start on, and never past them.
  MessageRecorder(uint8_t* bufferStart, size_t capacity, Form form = Form::TrackEvents);

  // As an event: writes the delta time (0 for the first event), F0h, the length of the rest of
  // the message and the rest, F7h included. The cursor ends after the last byte. What would not
  // fit is left out whole and marks the overflow; a later message that fits is still recorded.
  void Send(const uint8_t* message, size_t n) override;

  // Bytes of the file outside any event (its header, the end of the track), whole or not at all.
  void Append(const uint8_t* bytes, size_t n);

  // The bytes recorded so far, from bufferStart on.
  size_t Size() const { return static_cast<size_t>(cursor_ - bufferStart_); }
  // Something did not fit, so the recording is incomplete.
  bool Overflowed() const { return overflowed_; }

 private:
  bool Room(size_t n);  // false, marking the overflow, when n more bytes do not fit

  uint8_t* const bufferStart_;
  uint8_t* const bufferEnd_;
  uint8_t* cursor_;
  const Form form_;
  uint32_t deltaTicks_ = 0;
  bool overflowed_ = false;
};
