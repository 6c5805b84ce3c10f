#pragma once
// Where every finished message goes: to the card (live mode) or, during an export, into the MIDI
// file image as a system-exclusive event (record mode).
#include <cstddef>
#include <cstdint>

class MpuPort;

struct SinkState {
  uint32_t deltaTicks = 0;         // record mode: delta time of the next event
  uint8_t* bufferStart = nullptr;  // export buffer, null when none exists
  uint8_t* cursor = nullptr;       // null: live mode; otherwise the write position
  uint8_t* bufferEnd = nullptr;    // recording stops here (never written past); null: nothing fits
  uint8_t checksumSum = 0;         // running sum of the message's address and data bytes
  uint8_t recordLength = 0;        // record mode: the length byte written after F0h
  bool overflowed = false;         // a recorded event did not fit before bufferEnd
};

class MessageSink {
 public:
  // port: the settings' base address, read at each send.
  MessageSink(MpuPort& mpu, const uint32_t& port) : mpu_(mpu), port_(port) {}

  // Live mode: the n bytes go to the card's data register. Record mode: deltaTicks (variable
  // length), F0h, recordLength, then the other n-1 bytes at cursor, which ends after the last
  // one. An event that would not fit before bufferEnd is left out whole and sets `overflowed`.
  void Send(const uint8_t* message, size_t n);

  bool Recording() const { return state.cursor != nullptr; }

  SinkState state;

 private:
  MpuPort& mpu_;
  const uint32_t& port_;
};
