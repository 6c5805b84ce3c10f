#include "panel/core/message_layout.h"

#include <cstring>

namespace {

constexpr const char* kReverbTypeNames[kReverbTypeCount] = {
    "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay",
};

struct TargetLayout {
  uint8_t high;
  uint8_t base;  // added to the parameter's offset
  const char* caption;
};

// Left and Right share the high byte; Right's parameters lie 0Ah further on.
constexpr TargetLayout kTargets[kDigitalTargetCount] = {
    {0x03, 0x00, "&Stereo"},
    {0x02, 0x00, "Le&ft"},
    {0x02, 0x0A, "Ri&ght"},
};

const TargetLayout& LayoutOf(DigitalTarget target) {
  const int index = static_cast<int>(target);
  return kTargets[index < kDigitalTargetCount ? index : 0];
}

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

size_t WriteDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count, uint8_t* out,
                    uint8_t* checksumSum) {
  std::memcpy(out, kDataSetHeader, sizeof kDataSetHeader);
  out[kDataSetModel] = model;
  out[kDataSetCommandPosition] = kDataSetCommand;
  out[kDataSetAddress] = address.high;
  out[kDataSetAddress + 1] = address.middle;
  out[kDataSetAddress + 2] = address.low;
  std::memcpy(out + kDataSetFirstData, data, count);
  const size_t n = DataSetLength(count);
  *checksumSum = DataSetSum(out, n);
  out[n - 2] = DataSetChecksum(*checksumSum);
  out[n - 1] = kSysExEnd;
  return n;
}

const char* ReverbTypeName(int type) { return kReverbTypeRange.Contains(type) ? kReverbTypeNames[type] : nullptr; }

DataSetAddress DigitalAddress(DigitalTarget target, int offset) {
  const TargetLayout& layout = LayoutOf(target);
  return {layout.high, 0x00, static_cast<uint8_t>(layout.base + offset)};
}

const char* DigitalTargetCaption(DigitalTarget target) { return LayoutOf(target).caption; }
