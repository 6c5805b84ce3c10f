#pragma once
// Every message the panel makes, each family and each parameter described once: the fixed bytes,
// where a parameter lies, how its value becomes data bytes and which values it takes, how the
// channels map onto the card's parts and where the digital-audio targets lie. The builders write
// messages by these descriptions, the export writes its merged data sets by them and the monitor
// reads them back by the very same ones (message_reading), so none of the three can say a message
// differently from the others.
#include <cstddef>
#include <cstdint>

#include "panel/device/system_exclusive.h"

struct ValueRange {
  int low;
  int high;
  constexpr bool Contains(int value) const { return value >= low && value <= high; }
  constexpr int Clamp(int value) const { return value < low ? low : (value > high ? high : value); }
};

// Inside a system-exclusive message every byte is a 7-bit data byte.
constexpr ValueRange kDataByteRange = {0, 127};
// The low seven bits of a value: a stored value beyond them never becomes a status byte.
constexpr uint8_t DataByte(int value) { return static_cast<uint8_t>(value & 0x7F); }

// ---- Master volume: the universal real-time message to all devices (7F 7F), device control
// (04), master volume (01); its least significant byte is always 7Fh here, then the volume.
constexpr uint8_t kMasterVolumeHeader[6] = {kSysExStart, 0x7F, 0x7F, 0x04, 0x01, 0x7F};
constexpr size_t kMasterVolumeValue = sizeof kMasterVolumeHeader;
constexpr size_t kMasterVolumeLength = kMasterVolumeValue + 2;

// Writes the kMasterVolumeLength bytes of the message for `volume` (0..127) into out.
void WriteMasterVolume(uint8_t volume, uint8_t* out);

// ---- Data set: F0, manufacturer 41h, device 10h, model, command 12h, three address bytes, the
// data bytes, the checksum, F7.
constexpr uint8_t kDataSetHeader[3] = {kSysExStart, 0x41, 0x10};
constexpr uint8_t kDataSetCommand = 0x12;
constexpr uint8_t kGsModel = 0x42;    // the GS synthesizer
constexpr uint8_t kCardModel = 0x56;  // the card's own parameter map
constexpr size_t kDataSetModel = 3;
constexpr size_t kDataSetCommandPosition = 4;
constexpr size_t kDataSetAddress = 5;
constexpr size_t kDataSetFirstData = 8;
constexpr size_t kDataSetTrailer = 2;  // checksum and F7

constexpr size_t DataSetLength(size_t dataCount) { return kDataSetFirstData + dataCount + kDataSetTrailer; }

struct DataSetAddress {
  uint8_t high;
  uint8_t middle;
  uint8_t low;
  bool operator==(const DataSetAddress&) const = default;
};

// The checksum of a data set from S, the sum of its address and data bytes (taken modulo 256):
// (128 - S mod 128) mod 128, so that S plus the checksum is a multiple of 128.
constexpr uint8_t DataSetChecksum(uint8_t sum) { return static_cast<uint8_t>((128 - (sum & 0x7F)) & 0x7F); }
// S of the n-byte data set at `message`.
uint8_t DataSetSum(const uint8_t* message, size_t n);

// Writes the data set of `count` data bytes (each its low seven bits) to `address` of `model` into
// out (DataSetLength(count) bytes, checksum and F7 included) and returns its length.
size_t WriteDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count, uint8_t* out);

// ---- The GS synthesizer's master parameters.

// Master tune: the slider position plus 24 (18h..7E7h; the centre 1000 becomes 400h) in four
// 4-bit nibbles, most significant first.
constexpr DataSetAddress kMasterTuneAddress = {0x40, 0x00, 0x00};
constexpr size_t kMasterTuneDataCount = 4;
constexpr ValueRange kMasterTuneRange = {0, 1999};
constexpr int kMasterTuneCentre = 1000;
constexpr int kMasterTuneOffset = 24;
inline void MasterTuneData(int position, uint8_t* data) {
  const int value = kMasterTuneRange.Clamp(position) + kMasterTuneOffset;
  for (size_t i = 0; i < kMasterTuneDataCount; ++i) {
    data[i] = static_cast<uint8_t>((value >> (4 * (kMasterTuneDataCount - 1 - i))) & 0x0F);
  }
}

// Master volume as a GS parameter, between the tune and the key shift: the saved state sets it
// there, in one data set with both; a change is sent as the universal message.
constexpr DataSetAddress kGsMasterVolumeAddress = {0x40, 0x00, 0x04};

// Master key shift: one byte, 64 for no shift; the panel shows it as a transpose of -24..+24.
constexpr DataSetAddress kKeyShiftAddress = {0x40, 0x00, 0x05};
constexpr ValueRange kKeyShiftRange = {40, 88};
constexpr int kKeyShiftCentre = 64;
constexpr ValueRange kMasterTransposeShown = {kKeyShiftRange.low - kKeyShiftCentre,
                                              kKeyShiftRange.high - kKeyShiftCentre};

// The longest message the builders make for one parameter.
constexpr size_t kLongestMessage = DataSetLength(kMasterTuneDataCount);

// ---- The card's own parameter map.

// Reverb/delay and chorus: one byte each at 00 00 index, indexed as PanelSettings' EffectsBlock.
enum EffectIndex : uint8_t {
  kReverbType = 0,
  kReverbLevel = 1,
  kReverbDecay = 2,
  kDelayTime = 3,
  kDelayFeedback = 4,
  kChorusLevel = 5,
  kChorusFeedback = 6,
  kChorusDelay = 7,
  kChorusRate = 8,
  kChorusDepth = 9,
};
constexpr size_t kEffectCount = 10;
constexpr DataSetAddress EffectAddress(int index) { return {0x00, 0x00, static_cast<uint8_t>(index)}; }

// The reverb type (effect 0) names one of eight reverb/delay types, by number.
constexpr int kReverbTypeCount = 8;
constexpr ValueRange kReverbTypeRange = {0, kReverbTypeCount - 1};
constexpr uint8_t kDefaultReverbType = 4;  // "Hall 2"
// "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"; null outside 0..7.
const char* ReverbTypeName(int type);

// Receive channel of each part: one byte at 01 part 00, the channel index n when the part
// receives on its own channel, kChannelOff when it receives nothing. Channels 1..9 are parts 1..9,
// channel 10 is the rhythm part 0, channels 11..16 are parts 10..15.
constexpr int kChannelCount = 16;
constexpr uint8_t kChannelOff = 0x10;  // receive channel 17
constexpr DataSetAddress ChannelAddress(int channel) {
  const uint8_t part = channel >= 0 && channel < 9 ? static_cast<uint8_t>(channel + 1)
                       : channel == 9             ? 0
                       : channel < kChannelCount  ? static_cast<uint8_t>(channel)
                                                  : 0xFF;
  return {0x01, part, 0x00};
}
constexpr uint8_t ChannelReceiveData(int channel, bool onItsChannel) {
  return onItsChannel ? static_cast<uint8_t>(channel) : kChannelOff;
}

// Digital audio: one byte at hi 00 (base + offset), the address high byte and base from the
// target; the offsets are those of PanelSettings' DigitalBlock. The tune goes out as one message
// of two 7-bit halves at +6/+7; no single-byte parameter lies there.
enum DigitalOffset : uint8_t {
  kDigitalVolume = 2,
  kDigitalBrightness = 3,
  kDigitalRate = 4,
  kDigitalTranspose = 5,
  kDigitalTuneMsb = 6,
  kDigitalTuneLsb = 7,
  kDigitalPan = 8,
  kDigitalReverb = 9,
  kDigitalChorus = 10,
};
constexpr ValueRange kDigitalOffsets = {kDigitalVolume, kDigitalChorus};
constexpr bool IsDigitalTuneHalf(int offset) { return offset == kDigitalTuneMsb || offset == kDigitalTuneLsb; }
constexpr size_t kDigitalBlockSize = kDigitalChorus + 1;
constexpr ValueRange kDigitalTuneRange = {0, 16383};
constexpr int kDigitalTuneCentre = 8192;
constexpr size_t kDigitalTuneDataCount = 2;
inline void DigitalTuneData(int value, uint8_t* data) {
  const int tune = kDigitalTuneRange.Clamp(value);
  data[0] = DataByte(tune >> 7);
  data[1] = DataByte(tune);
}
// The transpose byte, 64 for none, is shown as -64..+63.
constexpr int kDigitalTransposeCentre = 64;
constexpr ValueRange kDigitalTransposeShown = {kDataByteRange.low - kDigitalTransposeCentre,
                                               kDataByteRange.high - kDigitalTransposeCentre};

enum class DigitalTarget : uint8_t { Stereo, Left, Right };
constexpr int kDigitalTargetCount = 3;

struct DigitalTargetLayout {
  uint8_t high;
  uint8_t base;      // added to the parameter's offset
  char name[7];      // as the panel names the target (the button's caption at start)
  char caption[8];   // the button's caption once the target has been chosen
};
// Left and Right share the high byte; Right's parameters lie 0Ah further on.
inline constexpr DigitalTargetLayout kDigitalTargets[kDigitalTargetCount] = {
    {0x03, 0x00, "Stereo", "&Stereo"},
    {0x02, 0x00, "Left", "Le&ft"},
    {0x02, 0x0A, "Right", "Ri&ght"},
};
constexpr const DigitalTargetLayout& DigitalTargetLayoutOf(DigitalTarget target) {
  const int index = static_cast<int>(target);
  return kDigitalTargets[index < kDigitalTargetCount ? index : 0];
}
constexpr DataSetAddress DigitalAddress(DigitalTarget target, int offset) {
  return {DigitalTargetLayoutOf(target).high, 0x00, static_cast<uint8_t>(DigitalTargetLayoutOf(target).base + offset)};
}
constexpr const char* DigitalTargetName(DigitalTarget target) { return DigitalTargetLayoutOf(target).name; }
constexpr const char* DigitalTargetCaption(DigitalTarget target) { return DigitalTargetLayoutOf(target).caption; }
