#pragma once
// Where every finished message goes. The message builders hand each message to a sink and do not
// know whether it reaches the card (LiveMessageSink) or is recorded somewhere else.
#include <cstddef>
#include <cstdint>

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // message: one complete system-exclusive message of n bytes, from F0h to F7h.
  virtual void Send(const uint8_t* message, size_t n) = 0;
};
