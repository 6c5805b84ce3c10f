#pragma once
// Test support only (uses the standard containers, so never include it from program code): what
// the modelled card received, as vectors.
#include <cstdint>
#include <ostream>
#include <vector>

#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace.h"

// Lets GoogleTest show events as trace lines.
inline void PrintTo(const PortEvent& event, std::ostream* os) {
  char line[kTraceLineCapacity];
  size_t n = FormatTraceLine(event, line);
  while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) --n;
  os->write(line, static_cast<std::streamsize>(n));
}

inline std::vector<uint8_t> CapturedDataBytes(const Mpu401Model& model) {
  std::vector<uint8_t> bytes(model.DataBytes(nullptr, 0));
  model.DataBytes(bytes.data(), bytes.size());
  return bytes;
}

// The system-exclusive messages (F0 .. F7) written to the data register, in order.
inline std::vector<std::vector<uint8_t>> CapturedMessages(const Mpu401Model& model) {
  std::vector<std::vector<uint8_t>> messages;
  const size_t count = model.MessageCount();
  for (size_t i = 0; i < count; ++i) {
    std::vector<uint8_t> message(model.Message(i, nullptr, 0));
    model.Message(i, message.data(), message.size());
    messages.push_back(message);
  }
  return messages;
}

inline std::vector<PortEvent> CapturedEvents(const Mpu401Model& model) {
  std::vector<PortEvent> events;
  for (size_t i = 0; i < model.EventCount(); ++i) events.push_back(model.Event(i));
  return events;
}
