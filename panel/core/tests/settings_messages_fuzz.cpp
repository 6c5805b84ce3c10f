// Arbitrary stored values through LoadSettings, then every builder driven from what loaded: each
// message must be one well-formed system-exclusive message with 7-bit data and the right
// checksum. The rest of the input is typed transpose text, read both by the panel and by a
// plain reference reading.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/core/parameter_messages.h"
#include "panel/core/settings_store.h"
#include "panel/core/tests/message_capture.h"

namespace {

// Input: one flag byte (bit 0: the settings exist), one text length, the typed transpose text,
// then stored values as records of a field index and a 32-bit value (the last record of a field
// wins; a field without a record is missing).
constexpr size_t kRecordSize = 5;

class RecordStore : public SettingsStore {
 public:
  RecordStore(bool exists, const uint8_t* records, size_t size) : exists_(exists), records_(records), size_(size) {}
  bool OpenForRead() override { return exists_; }
  bool Read(const char* name, uint32_t* value) override {
    bool found = false;
    for (size_t at = 0; at + kRecordSize <= size_; at += kRecordSize) {
      if (std::strcmp(kSettingFields[records_[at] % kSettingFieldCount].name, name) != 0) continue;
      std::memcpy(value, records_ + at + 1, 4);
      found = true;
    }
    return found;
  }
  bool OpenForWrite() override { return false; }
  void Write(const char*, uint32_t) override {}
  void Close() override {}

 private:
  bool exists_;
  const uint8_t* records_;
  size_t size_;
};

MessageCapture& Capture() {
  static MessageCapture* capture = new MessageCapture;
  return *capture;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

// Exactly one message since the last check, well formed.
void CheckOneMessage(MessageCapture& c) {
  const auto sent = c.Take();
  Require(sent.size() == 1);
  const Bytes& m = sent[0];
  Require(m.size() >= 8 && m.size() <= 14);
  Require(m.front() == 0xF0 && m.back() == 0xF7);
  for (size_t i = 1; i + 1 < m.size(); ++i) Require(m[i] < 0x80);
  if (m[1] != 0x7F) Require(ChecksumIsRight(m));
}

template <typename Action>
void Check(MessageCapture& c, Action action) {
  action();
  CheckOneMessage(c);
}

void DriveEveryBuilder(MessageCapture& c) {
  ParameterMessages& m = c.messages;
  PanelSettings& s = c.settings;
  Check(c, [&] { m.SendMasterVolume(s.MVol); });
  Check(c, [&] { m.SendMasterTune(s.MTun); });
  Check(c, [&] { m.SendMasterKeyShift(s.MTrn); });
  Check(c, [&] { m.SendDigitalTune(s.DTun); });
  for (int offset = kDigitalVolume; offset <= kDigitalChorus; ++offset) {
    if (IsDigitalTuneHalf(offset)) continue;
    Check(c, [&] { m.SendDigital(offset, s.DigitalBlock[offset]); });
  }
  for (int index = kReverbLevel; index <= kChorusDepth; ++index) {
    Check(c, [&] { m.SendEffect(index, s.EffectsBlock[index]); });
  }
  Check(c, [&] { m.SendReverbType(s.EffectsBlock[kReverbType]); });
  const uint16_t mute = s.Mute;
  for (int n = 0; n < 16; ++n) Check(c, [&] { m.SendChannelReceive(n, s.ReceivesOnItsChannel(n)); });
  for (int n = 0; n < 16; ++n) Check(c, [&] { m.ToggleChannel(n); });
  for (int n = 0; n < 16; ++n) Check(c, [&] { m.ToggleChannel(n); });
  Require(s.Mute == mute);
}

// The reading of a typed value, written plainly: blanks, an optional minus, digits, blanks.
bool ReferenceNumber(const std::string& text, bool* negative, std::string* digits) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return false;
  size_t end = text.find_last_not_of(" \t") + 1;
  std::string core = text.substr(begin, end - begin);
  *negative = !core.empty() && core[0] == '-';
  if (*negative) core.erase(0, 1);
  if (core.empty() || core.find_first_not_of("0123456789") != std::string::npos) return false;
  const size_t firstNonZero = core.find_first_not_of('0');
  *digits = firstNonZero == std::string::npos ? "0" : core.substr(firstNonZero);
  return true;
}

void CheckTransposeText(const std::string& text) {
  bool negative = false;
  std::string digits;
  const bool isNumber = ReferenceNumber(text, &negative, &digits);
  int value = 0;
  Require(ParseTransposeText(text.c_str(), &value) == isNumber);
  if (!isNumber) return;
  if (digits.size() <= 6) {
    const int expected = std::atoi(digits.c_str());
    Require(value == (negative ? -expected : expected));
  } else {
    Require(negative ? value < -64 : value > 63);
  }

  MessageCapture& c = Capture();
  const TransposeResult master = c.messages.ApplyMasterTranspose(text.c_str());
  CheckOneMessage(c);
  Require((master == TransposeResult::Applied) == (value >= -24 && value <= 24));
  const TransposeResult digital = c.messages.ApplyDigitalTranspose(text.c_str());
  CheckOneMessage(c);
  Require((digital == TransposeResult::Applied) == (value >= -64 && value <= 63));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool exists = (data[0] & 1) != 0;
  const size_t textLength = data[1] < size - 2 ? data[1] : size - 2;
  std::string text(reinterpret_cast<const char*>(data) + 2, textLength);
  text.resize(std::strlen(text.c_str()));  // the edit box's text ends at its first NUL

  MessageCapture& c = Capture();
  c.settings = PanelSettings{};
  while (c.messages.Target() != DigitalTarget::Stereo) c.messages.CycleDigitalTarget();
  c.card.ClearEvents();

  RecordStore store(exists, data + 2 + textLength, size - 2 - textLength);
  LoadSettings(c.settings, store);
  // The card model answers at one address only; which address is the device layer's matter.
  c.settings.Port = 0x330;
  for (int target = 0; target < 3; ++target) {
    DriveEveryBuilder(c);
    c.messages.CycleDigitalTarget();
  }
  CheckTransposeText(text);
  return 0;
}
