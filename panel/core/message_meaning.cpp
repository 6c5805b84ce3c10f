#include "panel/core/message_meaning.h"

#include "panel/core/message_reading.h"
#include "panel/core/message_setting.h"

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

// Each builder sends one setting in a message of its own, so a data set means the setting at its
// address when that setting takes all of its bytes. The digital-audio tune is the one message of
// two: both halves at once.
size_t DescribeDataSet(const DataSetView& set, Text& text) {
  MessageSetting setting;
  if (!ReadMessageSetting(set.model, set.address, set.data, set.count, &setting)) return NotOurs(text);
  const bool wholeTune = setting.setting == Setting::Digital && setting.index == kDigitalTuneMsb &&
                         set.count == kDigitalTuneDataCount;
  if (setting.length != set.count && !wholeTune) return NotOurs(text);
  const int value = setting.value;
  switch (setting.setting) {
    case Setting::MasterTune:
      return text.Put("master tuning ").Number(value).Done();
    case Setting::MasterKeyShift:
      return text.Put("master transpose ").Number(value - kKeyShiftCentre).Done();
    case Setting::Effect:
      text.Put(kEffectNames[setting.index]).Put(" ");
      return (setting.index == kReverbType ? text.Put(ReverbTypeName(value)) : text.Number(value)).Done();
    case Setting::ChannelReceive:
      return text.Put("channel ").Number(setting.index + 1).Put(value != 0 ? " receive on" : " receive off").Done();
    case Setting::Digital:
      text.Put("digital-audio ");
      if (wholeTune) {
        text.Put("tuning ").Number(DigitalTuneOfData(set.data));
      } else {
        text.Put(kDigitalNames[setting.index]).Put(" ");
        text.Number(setting.index == kDigitalTranspose ? value - kDigitalTransposeCentre : value);
      }
      return text.Put(" (").Put(DigitalTargetName(setting.target)).Put(")").Done();
    case Setting::MasterVolume:
      break;  // the panel sends the volume alone as the universal message
  }
  return NotOurs(text);
}

}  // namespace

size_t DescribeMessage(const uint8_t* message, size_t n, char* out) {
  Text text(out);
  if (!IsSysExMessage(message, n)) return NotOurs(text);
  uint8_t volume = 0;
  if (MasterVolumeOfMessage(message, n, &volume)) return text.Put("master volume ").Number(volume).Done();
  DataSetView set;
  if (!ReadDataSet(message, n, &set)) return NotOurs(text);
  if (set.checksum != set.expected) {
    return text.Put("wrong checksum ").Hex(set.checksum).Put(" (").Hex(set.expected).Put(" expected)").Done();
  }
  return DescribeDataSet(set, text);
}
