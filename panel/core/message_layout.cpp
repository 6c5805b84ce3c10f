#include "panel/core/message_layout.h"

#include <cstring>

namespace {

constexpr int kMasterTuneOffset = 24;  // 1000, the slider's centre, goes out as 400h

constexpr const char* kReverbTypeNames[kReverbTypeCount] = {
    "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay",
};

constexpr uint8_t kEffectsHigh = 0x00;
constexpr uint8_t kChannelsHigh = 0x01;
constexpr uint8_t kPartOfChannel[kChannelCount] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11, 12, 13, 14, 15};

struct TargetLayout {
  uint8_t high;
  uint8_t base;  // added to the parameter's offset
  const char* name;
  const char* caption;
};

// Left and Right share the high byte; Right's parameters lie 0Ah further on.
constexpr TargetLayout kTargets[kDigitalTargetCount] = {
    {0x03, 0x00, "Stereo", "&Stereo"},
    {0x02, 0x00, "Left", "Le&ft"},
    {0x02, 0x0A, "Right", "Ri&ght"},
};

const TargetLayout& LayoutOf(DigitalTarget target) {
  const int index = static_cast<int>(target);
  return kTargets[index < kDigitalTargetCount ? index : 0];
}

uint8_t SumOf(const uint8_t* bytes, size_t n) {
  uint8_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  return sum;
}

}  // namespace

void WriteMasterVolume(uint8_t volume, uint8_t* out) {
  std::memcpy(out, kMasterVolumeHeader, sizeof kMasterVolumeHeader);
  out[kMasterVolumeValue] = static_cast<uint8_t>(volume & 0x7F);
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
  *checksumSum = SumOf(out + kDataSetAddress, n - kDataSetAddress - kDataSetTrailer);
  out[n - 2] = DataSetChecksum(*checksumSum);
  out[n - 1] = kSysExEnd;
  return n;
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
  view->expected = DataSetChecksum(SumOf(message + kDataSetAddress, n - kDataSetAddress - kDataSetTrailer));
  return true;
}

void MasterTuneData(int position, uint8_t* data) {
  const int value = kMasterTuneRange.Clamp(position) + kMasterTuneOffset;
  for (size_t i = 0; i < kMasterTuneDataCount; ++i) {
    data[i] = static_cast<uint8_t>((value >> (4 * (kMasterTuneDataCount - 1 - i))) & 0x0F);
  }
}

bool MasterTuneOfData(const uint8_t* data, int* position) {
  int value = 0;
  for (size_t i = 0; i < kMasterTuneDataCount; ++i) {
    if (data[i] > 0x0F) return false;
    value = (value << 4) | data[i];
  }
  if (!kMasterTuneRange.Contains(value - kMasterTuneOffset)) return false;
  *position = value - kMasterTuneOffset;
  return true;
}

DataSetAddress EffectAddress(int index) { return {kEffectsHigh, 0x00, static_cast<uint8_t>(index)}; }

// The reverse searches of these lookups walk the forward rule itself, so the two cannot part.
bool EffectOfAddress(DataSetAddress address, int* index) {
  for (int candidate = 0; candidate < static_cast<int>(kEffectCount); ++candidate) {
    if (EffectAddress(candidate) == address) {
      *index = candidate;
      return true;
    }
  }
  return false;
}

const char* ReverbTypeName(int type) { return kReverbTypeRange.Contains(type) ? kReverbTypeNames[type] : nullptr; }

DataSetAddress ChannelAddress(int channel) {
  const uint8_t part = channel >= 0 && channel < kChannelCount ? kPartOfChannel[channel] : 0xFF;
  return {kChannelsHigh, part, 0x00};
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

void DigitalTuneData(int value, uint8_t* data) {
  const int tune = kDigitalTuneRange.Clamp(value);
  data[0] = static_cast<uint8_t>((tune >> 7) & 0x7F);
  data[1] = static_cast<uint8_t>(tune & 0x7F);
}

int DigitalTuneOfData(const uint8_t* data) { return (data[0] << 7) | data[1]; }

DataSetAddress DigitalAddress(DigitalTarget target, int offset) {
  const TargetLayout& layout = LayoutOf(target);
  return {layout.high, 0x00, static_cast<uint8_t>(layout.base + offset)};
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

const char* DigitalTargetName(DigitalTarget target) { return LayoutOf(target).name; }

const char* DigitalTargetCaption(DigitalTarget target) { return LayoutOf(target).caption; }
