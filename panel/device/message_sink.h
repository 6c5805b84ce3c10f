#pragma once
// Where every finished message goes. The message builders hand each message to a sink and do not
// know whether it reaches the card (CardPortsOutput), is recorded somewhere else, or goes nowhere
// (this base class: the builders' rules applied to a copy of the settings, for instance).
#include <cstddef>
#include <cstdint>

class MessageSink {
 public:
  // Never deleted through the interface: no virtual destructor to carry. (The class itself sends
  // nowhere and may stand as it is.)
  ~MessageSink() = default;
  // message: one complete system-exclusive message of n bytes, from F0h to F7h.
  virtual void Send(const uint8_t* /*message*/, size_t /*n*/) {}
};
