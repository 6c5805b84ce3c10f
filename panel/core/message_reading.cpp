#include "panel/core/message_reading.h"

#include <cstring>

bool IsSysExMessage(const uint8_t* message, size_t n) {
  if (n < kMasterVolumeLength || message[0] != kSysExStart || message[n - 1] != kSysExEnd) return false;
  for (size_t i = 1; i + 1 < n; ++i) {
    if (!kDataByteRange.Contains(message[i])) return false;
  }
  return true;
}

bool MasterVolumeOfMessage(const uint8_t* message, size_t n, uint8_t* volume) {
  if (n != kMasterVolumeLength || std::memcmp(message, kMasterVolumeHeader, sizeof kMasterVolumeHeader) != 0) {
    return false;
  }
  *volume = message[kMasterVolumeValue];
  return true;
}

bool ReadDataSet(const uint8_t* message, size_t n, DataSetView* view) {
  if (n < DataSetLength(1) || std::memcmp(message, kDataSetHeader, sizeof kDataSetHeader) != 0 ||
      message[kDataSetCommandPosition] != kDataSetCommand || message[n - 1] != kSysExEnd) {
    return false;
  }
  view->model = message[kDataSetModel];
  view->address = {message[kDataSetAddress], message[kDataSetAddress + 1], message[kDataSetAddress + 2]};
  view->data = message + kDataSetFirstData;
  view->count = n - kDataSetFirstData - kDataSetTrailer;
  view->checksum = message[n - 2];
  view->expected = DataSetChecksum(DataSetSum(message, n));
  return true;
}

DataSetAddress AddressAfter(DataSetAddress address, size_t index) {
  const uint32_t value = ((address.high << 14) | (address.middle << 7) | address.low) + static_cast<uint32_t>(index);
  return {DataByte(static_cast<int>(value >> 14)), DataByte(static_cast<int>(value >> 7)), DataByte(static_cast<int>(value))};
}

bool EffectOfAddress(DataSetAddress address, int* index) {
  for (int candidate = 0; candidate < static_cast<int>(kEffectCount); ++candidate) {
    if (EffectAddress(candidate) == address) {
      *index = candidate;
      return true;
    }
  }
  return false;
}

bool ChannelOfAddress(DataSetAddress address, int* channel) {
  for (int candidate = 0; candidate < kChannelCount; ++candidate) {
    if (ChannelAddress(candidate) == address) {
      *channel = candidate;
      return true;
    }
  }
  return false;
}

bool DigitalOfAddress(DataSetAddress address, DigitalTarget* target, int* offset) {
  for (int t = 0; t < kDigitalTargetCount; ++t) {
    for (int o = kDigitalOffsets.low; o <= kDigitalOffsets.high; ++o) {
      if (DigitalAddress(static_cast<DigitalTarget>(t), o) == address) {
        *target = static_cast<DigitalTarget>(t);
        *offset = o;
        return true;
      }
    }
  }
  return false;
}

bool MasterTuneOfData(const uint8_t* data, int* position) {
  int value = 0;
  for (size_t i = 0; i < kMasterTuneDataCount; ++i) value = (value << 4) | data[i];
  const int candidate = value - kMasterTuneOffset;
  if (!kMasterTuneRange.Contains(candidate)) return false;
  uint8_t written[kMasterTuneDataCount];
  MasterTuneData(candidate, written);
  if (std::memcmp(written, data, sizeof written) != 0) return false;
  *position = candidate;
  return true;
}

int DigitalTuneOfData(const uint8_t* data) {
  return DigitalTuneWithHalf(DigitalTuneWithHalf(0, kDigitalTuneMsb, data[0]), kDigitalTuneLsb, data[1]);
}

int DigitalTuneWithHalf(int tune, int offset, uint8_t half) {
  return offset == kDigitalTuneMsb ? (half << 7) | (tune & 0x7F) : (tune & ~0x7F) | half;
}
