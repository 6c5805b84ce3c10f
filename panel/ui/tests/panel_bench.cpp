#include "panel/ui/tests/panel_bench.h"

#include <algorithm>

uint8_t ExpectedChecksum(const Bytes& addressAndData) {
  int sum = 0;
  for (uint8_t b : addressAndData) sum += b;
  return static_cast<uint8_t>((128 - sum % 128) % 128);
}

Bytes ExpectedDataSet(uint8_t model, const Bytes& addressAndData) {
  Bytes message = {0xF0, 0x41, 0x10, model, 0x12};
  message.insert(message.end(), addressAndData.begin(), addressAndData.end());
  message.push_back(ExpectedChecksum(addressAndData));
  message.push_back(0xF7);
  return message;
}

namespace {
uint8_t Data7(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }
Bytes Digital(int offset, Bytes data) {
  Bytes body = {0x03, 0x00, static_cast<uint8_t>(offset)};
  body.insert(body.end(), data.begin(), data.end());
  return ExpectedDataSet(0x56, body);
}
Bytes Effect(int index, int value) {
  return ExpectedDataSet(0x56, {0x00, 0x00, static_cast<uint8_t>(index), Data7(value)});
}
}  // namespace

std::vector<Bytes> ExpectedStartupPush(const PanelSettings& s) {
  std::vector<Bytes> push;
  push.push_back({0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, Data7(s.MVol), 0xF7});

  push.push_back(Digital(2, {Data7(s.DigitalBlock[2])}));
  push.push_back(Digital(3, {Data7(s.DigitalBlock[3])}));
  const int tune = std::min<int>(s.DTun, 16383);
  push.push_back(Digital(6, {static_cast<uint8_t>(tune >> 7), static_cast<uint8_t>(tune & 0x7F)}));
  push.push_back(Digital(9, {Data7(s.DigitalBlock[9])}));
  push.push_back(Digital(10, {Data7(s.DigitalBlock[10])}));

  const int masterTune = std::min<int>(s.MTun, 1999) + 24;
  push.push_back(ExpectedDataSet(0x42, {0x40, 0x00, 0x00, static_cast<uint8_t>(masterTune >> 12),
                                        static_cast<uint8_t>((masterTune >> 8) & 15),
                                        static_cast<uint8_t>((masterTune >> 4) & 15),
                                        static_cast<uint8_t>(masterTune & 15)}));

  // A transpose box outside its range is reset to 0, which is the device value 64.
  const int keyShift = (s.MTrn >= 40 && s.MTrn <= 88) ? s.MTrn : 64;
  push.push_back(ExpectedDataSet(0x42, {0x40, 0x00, 0x05, static_cast<uint8_t>(keyShift)}));
  const int transpose = s.DigitalBlock[5] <= 127 ? s.DigitalBlock[5] : 64;
  push.push_back(Digital(5, {static_cast<uint8_t>(transpose)}));

  for (int k = 1; k <= 9; ++k) push.push_back(Effect(k, s.EffectsBlock[k]));
  push.push_back(Effect(0, s.EffectsBlock[0] <= 7 ? s.EffectsBlock[0] : 4));

  for (int n = 0; n < 16; ++n) {
    const uint8_t part = static_cast<uint8_t>(n <= 8 ? n + 1 : (n == 9 ? 0 : n));
    const bool receives = (s.Mute >> n) & 1;
    push.push_back(ExpectedDataSet(0x56, {0x01, part, 0x00, static_cast<uint8_t>(receives ? n : 16)}));
  }
  return push;
}
