#pragma once
// The text form of one port event, as the simulator's trace file holds it: one line per event,
// `OUT 0330 F0`, `IN 0330 FE`, `CLI`, `STI` (port and byte in upper-case hex), CR LF at the end.
// The line of the byte that ends a message at the data port can carry what the message means
// after " ; ", so that someone following the trace sees it as soon as the card has it.
#include <cstddef>
#include <cstdint>

#include "panel/device/mpu401_model.h"

constexpr size_t kTraceLineCapacity = 16;
constexpr size_t kTraceNoteCapacity = 64;  // with its terminating zero
constexpr size_t kNotedTraceLineCapacity = kTraceLineCapacity + 3 + kTraceNoteCapacity;

// Writes the line (with its CR LF, no terminating zero) and returns its length.
size_t FormatTraceLine(const PortEvent& event, char* out);

// Says what one whole message means. The messages are the panel core's business; the trace
// only asks.
class MessageDescriber {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~MessageDescriber() = default;

 public:
  // message: n bytes from F0 on. Writes a zero-terminated text of at most kTraceNoteCapacity
  // characters with the zero; returns its length.
  virtual size_t Describe(const uint8_t* message, size_t n, char* out) = 0;
};

// Trace lines with each whole message's meaning on the line of its F7. A message is what is
// written to the data port from F0 to F7 with no other event between (the monitor groups the
// same way); bytes beyond the longest message the panel makes are not kept, so an overlong
// message reaches the describer cut short, without its F7.
class NotedTrace {
 public:
  static constexpr size_t kMessageCapacity = 16;

  // Without a describer the lines are exactly FormatTraceLine's.
  void Describe(uint16_t dataPort, MessageDescriber* describer) {
    dataPort_ = dataPort;
    describer_ = describer;
  }

  // Writes the event's line into out (kNotedTraceLineCapacity characters); returns its length.
  size_t Line(const PortEvent& event, char* out);

 private:
  uint16_t dataPort_ = 0;
  MessageDescriber* describer_ = nullptr;
  uint8_t message_[kMessageCapacity] = {};
  size_t length_ = 0;
  bool inside_ = false;
};
