#pragma once
// Reading a message back by the message layouts: each reading is the exact inverse of a writing
// rule there, found by asking the rule itself, so that what the monitor reads is always what the
// builders wrote.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"

// A data set read back from its bytes.
struct DataSetView {
  uint8_t model;
  DataSetAddress address;
  const uint8_t* data;
  size_t count;      // at least one
  uint8_t checksum;  // as the message carries it
  uint8_t expected;  // as the rule gives it for the address and data
};

// Whether the n bytes are one system-exclusive message of at least the master volume's length:
// F0, 7-bit data bytes only, F7.
bool IsSysExMessage(const uint8_t* message, size_t n);

// The volume of a master volume message, out of n bytes that are one system-exclusive message;
// false for any other message, one with the master volume's header at another length too.
bool MasterVolumeOfMessage(const uint8_t* message, size_t n, uint8_t* volume);

// False when the n bytes are no data set: another header or command, no data byte, no F7.
bool ReadDataSet(const uint8_t* message, size_t n, DataSetView* view);

// The address of the data byte `index` places after `address`: addresses count in 7-bit digits.
DataSetAddress AddressAfter(DataSetAddress address, size_t index);

// Which parameter an address names; false when none of that kind lies there.
bool EffectOfAddress(DataSetAddress address, int* index);
bool ChannelOfAddress(DataSetAddress address, int* channel);
bool DigitalOfAddress(DataSetAddress address, DigitalTarget* target, int* offset);

// The slider position that kMasterTuneDataCount data bytes carry; false when they are no master
// tune the panel sends.
bool MasterTuneOfData(const uint8_t* data, int* position);
// The digital-audio tune that kDigitalTuneDataCount data bytes carry.
int DigitalTuneOfData(const uint8_t* data);
// The digital-audio tune once the half at `offset` (kDigitalTuneMsb or kDigitalTuneLsb) is `half`:
// the card takes each half alone, the other keeping its value.
int DigitalTuneWithHalf(int tune, int offset, uint8_t half);
