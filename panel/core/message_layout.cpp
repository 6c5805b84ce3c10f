#include "panel/core/message_layout.h"

#include <cstring>

namespace {

constexpr const char* kReverbTypeNames[kReverbTypeCount] = {
    "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay",
};

}  // namespace

uint8_t DataSetSum(const uint8_t* message, size_t n) {
  uint8_t sum = 0;
  for (size_t i = kDataSetAddress; i + kDataSetTrailer < n; ++i) sum = static_cast<uint8_t>(sum + message[i]);
  return sum;
}

void WriteMasterVolume(uint8_t volume, uint8_t* out) {
  std::memcpy(out, kMasterVolumeHeader, sizeof kMasterVolumeHeader);
  out[kMasterVolumeValue] = DataByte(volume);
  out[kMasterVolumeValue + 1] = kSysExEnd;
}

size_t WriteDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count, uint8_t* out) {
  std::memcpy(out, kDataSetHeader, sizeof kDataSetHeader);
  out[kDataSetModel] = model;
  out[kDataSetCommandPosition] = kDataSetCommand;
  out[kDataSetAddress] = address.high;
  out[kDataSetAddress + 1] = address.middle;
  out[kDataSetAddress + 2] = address.low;
  for (size_t i = 0; i < count; ++i) out[kDataSetFirstData + i] = DataByte(data[i]);
  const size_t n = DataSetLength(count);
  out[n - 2] = DataSetChecksum(DataSetSum(out, n));
  out[n - 1] = kSysExEnd;
  return n;
}

const char* ReverbTypeName(int type) { return kReverbTypeRange.Contains(type) ? kReverbTypeNames[type] : nullptr; }
