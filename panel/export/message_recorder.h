#pragma once
// The message sink of an export: each message becomes a system-exclusive event of a Standard MIDI
// File in the export's buffer, and nothing reaches the card. The recorder can also extend the
// message it recorded last with further data bytes and close it again; that is how the export
// merges several parameters into one data set.
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

class MessageRecorder : public MessageSink {
 public:
  // Records into the `capacity` bytes at bufferStart, from their start on, and never past them.
  MessageRecorder(uint8_t* bufferStart, size_t capacity);

  // Writes deltaTicks as a variable-length quantity, F0h, recordLength, then the other n-1 bytes
  // of the message; the cursor ends after the last one. An event that would not fit is left out
  // whole and marks the overflow; a later one that fits is still recorded.
  void Send(const uint8_t* message, size_t n) override;

  // Bytes of the file outside any event (its header, the end of the track), whole or not at all.
  void Append(const uint8_t* bytes, size_t n);
  // The length byte written after F0h of each message recorded from now on.
  void SetRecordLength(uint8_t length) { recordLength_ = length; }
  // The next event follows this long after the one before it.
  void WaitBeforeNextEvent(uint32_t microseconds) { deltaTicks_ = microseconds / kMicrosecondsPerTick; }

  // Moves the cursor back over the checksum and F7h of the message recorded last, to extend it
  // from `checksumSum`, the sum its builder made the checksum from. False, and nothing moves, when
  // the last thing recorded was not a whole message.
  bool Reopen(uint8_t checksumSum);
  // Appends one data byte to the reopened message and adds it to its checksum sum. Only its low
  // seven bits: a stored value beyond them must not become a status byte inside the event.
  void AppendData(uint8_t value);
  // Appends the checksum of the sum and F7h at the cursor, then sets the delta time of the next
  // event from recordLength: the time the card needs to take this one in.
  void CloseRecordedMessage();

  // The bytes recorded so far, from bufferStart on.
  size_t Size() const { return static_cast<size_t>(cursor_ - bufferStart_); }
  // Something did not fit, so the recording is incomplete.
  bool Overflowed() const { return overflowed_; }

 private:
  bool Room(size_t n);  // false, marking the overflow, when n more bytes do not fit

  uint8_t* const bufferStart_;
  uint8_t* const bufferEnd_;
  uint8_t* cursor_;
  uint8_t* messageEnd_ = nullptr;  // after the message recorded last, while nothing has followed it
  uint32_t deltaTicks_ = 0;
  uint8_t checksumSum_ = 0;
  uint8_t recordLength_ = 0;
  bool overflowed_ = false;
};
