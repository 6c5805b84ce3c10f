#pragma once
// What one whole message tells the card, in the panel's own words: the parameter as its control
// is labelled and the value as the panel shows it ("master transpose -12", "reverb type Hall 2",
// "digital-audio volume 127 (Left)", "channel 10 receive off"). For someone without the card this
// is the only way to see that the panel did what they asked, so a message that none of the
// builders makes, or one with a wrong checksum, is said to be so and never decoded as if it were
// right.
#include <cstddef>
#include <cstdint>

#include "panel/device/port_trace.h"

// Writes the meaning of the n bytes of `message` (F0 .. F7) and a terminating zero into `out`,
// which holds kTraceNoteCapacity characters; returns the length without the zero.
size_t DescribeMessage(const uint8_t* message, size_t n, char* out);

// The card model's trace notes each message with DescribeMessage.
class MessageMeaning : public MessageDescriber {
 public:
  size_t Describe(const uint8_t* message, size_t n, char* out) override { return DescribeMessage(message, n, out); }
};
