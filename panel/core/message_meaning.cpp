#include "panel/core/message_meaning.h"

#include <cstring>

#include "panel/core/panel_settings.h"
#include "panel/core/parameter_messages.h"

namespace {

constexpr const char kNotOurs[] = "not a message the panel makes";

// The fixed bytes in front of each family's variable part.
constexpr uint8_t kMasterVolumeHeader[6] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F};
constexpr uint8_t kDataSetHeader[3] = {0xF0, 0x41, 0x10};
constexpr uint8_t kDataSetCommand = 0x12;
constexpr uint8_t kGsModel = 0x42;
constexpr uint8_t kCardModel = 0x56;
// F0 41 10 model 12, three address bytes, at least one data byte, checksum, F7.
constexpr size_t kShortestDataSet = 11;

// Labels of the reverb/delay and chorus sliders, by effect index.
constexpr const char* kEffectNames[10] = {
    "reverb type",   "reverb level",    "reverb decay",  "delay time",   "delay repeat",
    "chorus level",  "chorus feedback", "chorus delay",  "chorus rate",  "chorus depth",
};

// The digital-audio parameters by device offset; 0 and 1 hold none. The tune's two halves (+6/+7)
// go out together; alone they come only from the single-byte builder.
constexpr const char* kDigitalNames[11] = {
    nullptr,         nullptr,         "volume", "brightness", "rate", "transpose",
    "tuning upper half", "tuning lower half",  "pan",    "reverb",     "chorus",
};

// A text that never runs past the note's capacity.
class Text {
 public:
  explicit Text(char* out) : out_(out) {}

  Text& Put(const char* text) {
    while (*text != '\0') Char(*text++);
    return *this;
  }

  Text& Number(int value) {
    if (value < 0) {
      Char('-');
      value = -value;
    }
    char digits[8];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0 && count < 8);
    while (count > 0) Char(digits[--count]);
    return *this;
  }

  Text& Hex(uint8_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    Char(kDigits[value >> 4]);
    return Char(kDigits[value & 0x0F]);
  }

  // Drops what was begun: a message found wrong halfway is marked, not half decoded.
  Text& Clear() {
    length_ = 0;
    return *this;
  }

  size_t Done() {
    out_[length_] = '\0';
    return length_;
  }

 private:
  Text& Char(char c) {
    if (length_ + 1 < kTraceNoteCapacity) out_[length_++] = c;
    return *this;
  }

  char* out_;
  size_t length_ = 0;
};

size_t NotOurs(Text& text) { return text.Clear().Put(kNotOurs).Done(); }

// Inside F0 .. F7 every byte is a 7-bit data byte.
bool DataBytesOnly(const uint8_t* message, size_t n) {
  for (size_t i = 1; i + 1 < n; ++i) {
    if (message[i] & 0x80) return false;
  }
  return true;
}

const char* TargetName(uint8_t high, uint8_t address, int* offset) {
  if (high == 0x03) {
    *offset = address;
    return "Stereo";
  }
  // Left and Right share the high byte; Right's parameters lie 0Ah further on.
  if (address >= 0x0A + kDigitalVolume) {
    *offset = address - 0x0A;
    return "Right";
  }
  *offset = address;
  return "Left";
}

// Channel index 0..15 of a part byte; -1 for none.
int ChannelOfPart(uint8_t part) {
  if (part == 0) return 9;
  if (part <= 9) return part - 1;
  return part <= 15 ? part : -1;
}

size_t DescribeGs(const uint8_t* address, const uint8_t* data, size_t count, Text& text) {
  if (address[0] != 0x40 || address[1] != 0x00) return NotOurs(text);
  if (address[2] == 0x00 && count == 4) {
    int tune = 0;
    for (size_t i = 0; i < 4; ++i) {
      if (data[i] > 0x0F) return NotOurs(text);
      tune = (tune << 4) | data[i];
    }
    const int position = tune - kMasterTuneOffset;
    if (position < 0 || position > 1999) return NotOurs(text);
    return text.Put("master tuning ").Number(position).Done();
  }
  if (address[2] == 0x05 && count == 1 && data[0] >= 40 && data[0] <= 88) {
    return text.Put("master transpose ").Number(data[0] - kKeyShiftCentre).Done();
  }
  return NotOurs(text);
}

size_t DescribeEffect(uint8_t index, uint8_t value, Text& text) {
  if (index > kChorusDepth) return NotOurs(text);
  text.Put(kEffectNames[index]).Put(" ");
  if (index != kReverbType) return text.Number(value).Done();
  const char* name = ReverbTypeName(value);
  return name ? text.Put(name).Done() : NotOurs(text);
}

size_t DescribeChannel(const uint8_t* address, uint8_t value, Text& text) {
  const int channel = ChannelOfPart(address[1]);
  if (channel < 0 || address[2] != 0x00) return NotOurs(text);
  if (value != kChannelOff && value != channel) return NotOurs(text);
  return text.Put("channel ").Number(channel + 1).Put(value == kChannelOff ? " receive off" : " receive on").Done();
}

size_t DescribeDigital(const uint8_t* address, const uint8_t* data, size_t count, Text& text) {
  if (address[1] != 0x00 || count > 2) return NotOurs(text);
  int offset = 0;
  const char* target = TargetName(address[0], address[2], &offset);
  if (offset < kDigitalVolume || offset > kDigitalChorus) return NotOurs(text);
  text.Put("digital-audio ");
  if (count == 2) {
    if (offset != kDigitalTuneMsb) return NotOurs(text);
    text.Put("tuning ").Number((data[0] << 7) | data[1]);
  } else {
    const int shown = offset == kDigitalTranspose ? data[0] - kDigitalTransposeCentre : data[0];
    text.Put(kDigitalNames[offset]).Put(" ").Number(shown);
  }
  return text.Put(" (").Put(target).Put(")").Done();
}

size_t DescribeCard(const uint8_t* address, const uint8_t* data, size_t count, Text& text) {
  if (address[0] == 0x02 || address[0] == 0x03) return DescribeDigital(address, data, count, text);
  if (count != 1) return NotOurs(text);
  if (address[0] == 0x00 && address[1] == 0x00) return DescribeEffect(address[2], data[0], text);
  if (address[0] == 0x01) return DescribeChannel(address, data[0], text);
  return NotOurs(text);
}

}  // namespace

size_t DescribeMessage(const uint8_t* message, size_t n, char* out) {
  Text text(out);
  if (n < 8 || message[0] != 0xF0 || message[n - 1] != 0xF7 || !DataBytesOnly(message, n)) {
    return NotOurs(text);
  }
  if (std::memcmp(message, kMasterVolumeHeader, sizeof kMasterVolumeHeader) == 0) {
    return n == 8 ? text.Put("master volume ").Number(message[6]).Done() : NotOurs(text);
  }
  if (n < kShortestDataSet || std::memcmp(message, kDataSetHeader, sizeof kDataSetHeader) != 0 ||
      message[4] != kDataSetCommand) {
    return NotOurs(text);
  }
  uint8_t sum = 0;
  for (size_t i = kDataSetAddress; i + 2 < n; ++i) sum = static_cast<uint8_t>(sum + message[i]);
  const uint8_t expected = DataSetChecksum(sum);
  if (message[n - 2] != expected) {
    return text.Put("wrong checksum ").Hex(message[n - 2]).Put(" (").Hex(expected).Put(" expected)").Done();
  }
  const uint8_t* address = message + kDataSetAddress;
  const uint8_t* data = message + kDataSetFirstData;
  const size_t count = n - kDataSetFirstData - 2;
  if (message[3] == kGsModel) return DescribeGs(address, data, count, text);
  if (message[3] == kCardModel) return DescribeCard(address, data, count, text);
  return NotOurs(text);
}
