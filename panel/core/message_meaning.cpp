#include "panel/core/message_meaning.h"

#include <cstring>

#include "panel/core/message_reading.h"

namespace {

constexpr const char kNotOurs[] = "not a message the panel makes";

// Labels of the reverb/delay and chorus sliders, by effect index.
constexpr const char* kEffectNames[kEffectCount] = {
    "reverb type",   "reverb level",    "reverb decay",  "delay time",   "delay repeat",
    "chorus level",  "chorus feedback", "chorus delay",  "chorus rate",  "chorus depth",
};

// The digital-audio parameters by device offset; 0 and 1 hold none. The panel sends the tune's two
// halves (+6/+7) together; the card also takes each alone, so the monitor names them too.
constexpr const char* kDigitalNames[kDigitalBlockSize] = {
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

size_t DescribeGs(const DataSetView& set, Text& text) {
  int position = 0;
  if (set.address == kMasterTuneAddress && set.count == kMasterTuneDataCount &&
      MasterTuneOfData(set.data, &position)) {
    return text.Put("master tuning ").Number(position).Done();
  }
  if (set.address == kKeyShiftAddress && set.count == 1 && kKeyShiftRange.Contains(set.data[0])) {
    return text.Put("master transpose ").Number(set.data[0] - kKeyShiftCentre).Done();
  }
  return NotOurs(text);
}

size_t DescribeEffect(int index, uint8_t value, Text& text) {
  text.Put(kEffectNames[index]).Put(" ");
  if (index != kReverbType) return text.Number(value).Done();
  const char* name = ReverbTypeName(value);
  return name ? text.Put(name).Done() : NotOurs(text);
}

size_t DescribeChannel(int channel, uint8_t value, Text& text) {
  if (value != kChannelOff && value != channel) return NotOurs(text);
  return text.Put("channel ").Number(channel + 1).Put(value == kChannelOff ? " receive off" : " receive on").Done();
}

size_t DescribeDigital(DigitalTarget target, int offset, const DataSetView& set, Text& text) {
  text.Put("digital-audio ");
  if (set.count == kDigitalTuneDataCount && offset == kDigitalTuneMsb) {
    text.Put("tuning ").Number(DigitalTuneOfData(set.data));
  } else if (set.count == 1) {
    const int shown = offset == kDigitalTranspose ? set.data[0] - kDigitalTransposeCentre : set.data[0];
    text.Put(kDigitalNames[offset]).Put(" ").Number(shown);
  } else {
    return NotOurs(text);
  }
  return text.Put(" (").Put(DigitalTargetName(target)).Put(")").Done();
}

size_t DescribeCard(const DataSetView& set, Text& text) {
  DigitalTarget target = DigitalTarget::Stereo;
  int offset = 0;
  if (DigitalOfAddress(set.address, &target, &offset)) return DescribeDigital(target, offset, set, text);
  if (set.count != 1) return NotOurs(text);
  int index = 0;
  if (EffectOfAddress(set.address, &index)) return DescribeEffect(index, set.data[0], text);
  int channel = 0;
  if (ChannelOfAddress(set.address, &channel)) return DescribeChannel(channel, set.data[0], text);
  return NotOurs(text);
}

}  // namespace

size_t DescribeMessage(const uint8_t* message, size_t n, char* out) {
  Text text(out);
  if (!IsSysExMessage(message, n)) return NotOurs(text);
  if (std::memcmp(message, kMasterVolumeHeader, sizeof kMasterVolumeHeader) == 0) {
    return n == kMasterVolumeLength ? text.Put("master volume ").Number(message[kMasterVolumeValue]).Done()
                                    : NotOurs(text);
  }
  DataSetView set;
  if (!ReadDataSet(message, n, &set)) return NotOurs(text);
  if (set.checksum != set.expected) {
    return text.Put("wrong checksum ").Hex(set.checksum).Put(" (").Hex(set.expected).Put(" expected)").Done();
  }
  if (set.model == kGsModel) return DescribeGs(set, text);
  if (set.model == kCardModel) return DescribeCard(set, text);
  return NotOurs(text);
}
