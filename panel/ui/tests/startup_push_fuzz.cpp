// Arbitrary stored values go through the settings store, then the panel opens and the rest of the
// input drives control events. Whatever was stored, the card must receive exactly the 35 messages
// of the start-up push, and every message, then and later, must be a well-formed one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/core/settings_store.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/tests/panel_bench.h"

namespace {

class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
    return value;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Each of the 23 values is present or missing as the input says, with any 32-bit contents.
class FuzzedStore : public SettingsStore {
 public:
  explicit FuzzedStore(InputReader& input) : input_(input) {}
  bool OpenForRead() override { return input_.Byte() != 0xFF; }
  bool Read(const char*, uint32_t* value) override {
    if (input_.Byte() & 1) return false;
    *value = input_.Word();
    return true;
  }
  bool OpenForWrite() override { return false; }
  void Write(const char*, uint32_t) override {}
  void Close() override {}

 private:
  InputReader& input_;
};

[[noreturn]] void Fail(const char* what, const Bytes& message) {
  std::fprintf(stderr, "%s:", what);
  for (uint8_t b : message) std::fprintf(stderr, " %02X", b);
  std::fprintf(stderr, "\n");
  std::abort();
}

void CheckWellFormed(const Bytes& m) {
  if (m.size() < 8 || m.front() != 0xF0 || m.back() != 0xF7) Fail("not one system-exclusive message", m);
  for (size_t i = 1; i + 1 < m.size(); ++i)
    if (m[i] >= 0x80) Fail("status byte inside a message", m);
  if (m[1] == 0x7F) {
    if (m.size() != 8) Fail("master volume of the wrong length", m);
    return;
  }
  if (m[1] != 0x41 || m[2] != 0x10 || m[4] != 0x12) Fail("unknown header", m);
  if (m.size() != 11 && m.size() != 12 && m.size() != 14) Fail("data set of the wrong length", m);
  const Bytes body(m.begin() + 5, m.end() - 2);
  if (m[m.size() - 2] != ExpectedChecksum(body)) Fail("wrong checksum", m);
}

const int kSliders[] = {IDC_MASTER_VOLUME,  IDC_MASTER_TUNE,     IDC_DIGITAL_VOLUME,  IDC_DIGITAL_BRIGHTNESS,
                        IDC_DIGITAL_TUNE,   IDC_DIGITAL_REVERB,  IDC_DIGITAL_CHORUS,  IDC_REVERB_LEVEL,
                        IDC_REVERB_DECAY,   IDC_DELAY_TIME,      IDC_DELAY_FEEDBACK,  IDC_CHORUS_LEVEL,
                        IDC_CHORUS_FEEDBACK, IDC_CHORUS_DELAY,   IDC_CHORUS_RATE,     IDC_CHORUS_DEPTH};

std::string TextFrom(InputReader& input) {
  std::string text;
  for (size_t n = input.Byte() % 24; n > 0; --n) text.push_back(static_cast<char>(input.Byte()));
  return text;
}

void DriveOneEvent(PanelBench& bench, InputReader& input) {
  PanelController& panel = bench.controller;
  switch (input.Byte() % 7) {
    case 0: {
      const int id = kSliders[input.Byte() % std::size(kSliders)];
      bench.surface.MoveThumb(id, static_cast<int>(input.Word() % 20000));
      panel.OnScroll(id, input.Byte() % 9);
      break;
    }
    case 1:
    case 2: {
      const int id = (input.Byte() & 1) ? IDC_MASTER_TRANSPOSE : IDC_DIGITAL_TRANSPOSE;
      bench.surface.texts[id] = TextFrom(input);
      panel.OnEditKillFocus(id);
      break;
    }
    case 3:
      bench.surface.texts[IDC_REVERB_TYPE] = TextFrom(input);
      panel.OnReverbTypeKillFocus();
      break;
    case 4:
      bench.surface.SetComboSelection(IDC_REVERB_TYPE, static_cast<int8_t>(input.Byte()) % 10);
      panel.OnReverbTypeSelChange();
      break;
    case 5:
      panel.OnChannelClicked(IDC_CHANNEL_FIRST - 1 + input.Byte() % 18);
      break;
    default:
      panel.OnTargetClicked();
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader input(data, size);
  PanelBench bench;
  FuzzedStore store(input);
  LoadSettings(bench.settings, store);
  bench.settings.Port = 0x330;  // where the modelled interface answers; not what is under test here

  const PanelSettings loaded = bench.settings;
  bench.controller.StartupPush();
  const std::vector<Bytes> push = bench.TakeMessages();
  if (push.size() != 35) Fail("start-up push is not 35 messages", {});
  for (const Bytes& m : push) CheckWellFormed(m);
  if (push != ExpectedStartupPush(loaded)) Fail("start-up push differs from the rules", push[0]);
  if (bench.settings.Mute != loaded.Mute) Fail("start-up push changed the channel state", {});

  for (int events = 0; events < 64 && !input.Empty(); ++events) {
    DriveOneEvent(bench, input);
    const std::vector<Bytes> sent = bench.TakeMessages();
    if (sent.size() > 1) Fail("one event sent more than one message", sent[0]);
    for (const Bytes& m : sent) CheckWellFormed(m);
  }
  return 0;
}
