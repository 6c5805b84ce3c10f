// Any bytes as a settings file: the reader never reads past them, hands on only whole messages
// (F0 .. F7, at most kLongestFileMessage bytes), and what the settings take from them is always a
// value the panel could have stored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "panel/core/settings_from_messages.h"
#include "panel/files/sysex_file_reader.h"

namespace {

class CheckedSink : public MessageSink {
 public:
  explicit CheckedSink(SettingsFromMessages& next) : next_(next) {}
  void Send(const uint8_t* message, size_t n) override {
    if (n < 2 || n > kLongestFileMessage || message[0] != 0xF0 || message[n - 1] != 0xF7) std::abort();
    next_.Send(message, n);
  }

 private:
  SettingsFromMessages& next_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SettingsFromMessages settings{PanelSettings{}};
  CheckedSink sink(settings);
  ReadSysExFile(data, size, sink);
  for (const SettingField& field : kSettingFields) {
    const uint32_t value = ReadField(settings.Settings(), field);
    if (value < field.minValue || value > field.maxValue) std::abort();
  }
  return 0;
}
