// What the card model's trace says a message means: every builder's output over its whole range
// reads as the panel shows it, and anything else is marked, never decoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "panel/core/message_meaning.h"
#include "panel/core/tests/message_capture.h"

namespace {

std::string Meaning(const Bytes& m) {
  char out[kTraceNoteCapacity];
  const size_t n = DescribeMessage(m.data(), m.size(), out);
  EXPECT_EQ(std::string(out).size(), n);
  return out;
}

std::string Format(const char* format, int value, const char* text = "") {
  char s[96];
  std::snprintf(s, sizeof s, format, value, text);
  return s;
}

Bytes DataSet(uint8_t model, Bytes body) {
  Bytes m = {0xF0, 0x41, 0x10, model, 0x12};
  m.insert(m.end(), body.begin(), body.end());
  unsigned sum = 0;
  for (uint8_t b : body) sum += b;
  m.push_back(static_cast<uint8_t>((128 - sum % 128) % 128));
  m.push_back(0xF7);
  return m;
}

const char* const kTargets[] = {"Stereo", "Left", "Right"};
const char* const kTypes[] = {"Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"};
const char* const kEffects[] = {"", "reverb level", "reverb decay", "delay time", "delay repeat",
                                "chorus level", "chorus feedback", "chorus delay", "chorus rate", "chorus depth"};
const char* const kDigital[] = {"", "", "volume", "brightness", "rate", "transpose",
                                "tuning upper half", "tuning lower half", "pan", "reverb", "chorus"};

}  // namespace

TEST(MessageMeaning, EveryBuilderAtEveryValueReadsAsThePanelShowsIt) {
  MessageCapture c;
  auto expect = [&](const std::string& expected) {
    std::vector<Bytes> sent = c.Take();
    ASSERT_EQ(sent.size(), 1u) << expected;
    ASSERT_EQ(Meaning(sent[0]), expected);
  };
  for (int v = 0; v <= 127; ++v) { c.messages.SendMasterVolume(v); expect(Format("master volume %d", v)); }
  for (int v = 0; v <= 1999; ++v) { c.messages.SendMasterTune(v); expect(Format("master tuning %d", v)); }
  for (int v = -24; v <= 24; ++v) { c.messages.SendMasterKeyShift(v + 64); expect(Format("master transpose %d", v)); }
  for (int t = 0; t < 8; ++t) { c.messages.SendReverbType(t); expect(std::string("reverb type ") + kTypes[t]); }
  for (int k = 1; k <= 9; ++k) {
    for (int v = 0; v <= 127; ++v) { c.messages.SendEffect(k, v); expect(std::string(kEffects[k]) + Format(" %d", v)); }
  }
  const uint8_t kTargetAddress[][2] = {{0x03, 0x00}, {0x02, 0x00}, {0x02, 0x0A}};  // high byte, base
  for (int t = 0; t < 3; ++t) {
    const char* target = kTargets[t];
    const uint8_t* address = kTargetAddress[t];
    for (int o = 2; o <= 10; ++o) {
      for (int v = 0; v <= 127; ++v) {
        const std::string meaning =
            std::string("digital-audio ") + kDigital[o] + Format(" %d (%s)", o == 5 ? v - 64 : v, target);
        if (o == 6 || o == 7) {
          // The panel sends the tune whole; the card also takes each half alone.
          const uint8_t low = static_cast<uint8_t>(address[1] + o);
          EXPECT_EQ(Meaning(DataSet(0x56, {address[0], 0x00, low, static_cast<uint8_t>(v)})), meaning);
          continue;
        }
        c.messages.SendDigital(o, v);
        expect(meaning);
      }
    }
    for (int v = 0; v <= 16383; ++v) { c.messages.SendDigitalTune(v); expect(Format("digital-audio tuning %d (%s)", v, target)); }
    c.messages.CycleDigitalTarget();
  }
  for (int n = 0; n < 16; ++n) {
    c.messages.ToggleChannel(n);
    expect(Format("channel %d receive off", n + 1));
    c.messages.ToggleChannel(n);
    expect(Format("channel %d receive on", n + 1));
  }
}

TEST(MessageMeaning, WrongChecksumsAndMessagesNoBuilderMakesAreMarked) {
  const std::string kNotOurs = "not a message the panel makes";
  Bytes level = DataSet(0x56, {0x00, 0x00, 0x01, 0x40});
  level[9] = 0x3E;
  EXPECT_EQ(Meaning(level), "wrong checksum 3E (3F expected)");

  const Bytes others[] = {
      {}, {0xF0, 0xF7}, {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x40, 0x00, 0xF7},  // volume, one byte too many
      {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x80, 0xF7},                          // a status byte inside
      {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x40, 0x40},                          // no F7
      DataSet(0x42, {0x40, 0x00, 0x05, 39}),                                     // key shift beyond -24
      DataSet(0x42, {0x40, 0x00, 0x00, 0x00, 0x07, 0x0E, 0x08}),                 // master tune 2000
      DataSet(0x42, {0x40, 0x00, 0x00, 0x00, 0x04, 0x10, 0x00}),                 // a nibble of 5 bits
      DataSet(0x56, {0x00, 0x00, 0x00, 0x08}),                                   // reverb type 9
      DataSet(0x56, {0x00, 0x00, 0x0A, 0x40}), DataSet(0x56, {0x00, 0x00, 0x01, 0x40, 0x40}),
      DataSet(0x56, {0x01, 0x01, 0x00, 0x05}),                                   // part 1 on channel 6
      DataSet(0x56, {0x01, 0x10, 0x00, 0x10}), DataSet(0x56, {0x02, 0x00, 0x0B, 0x40}),
      DataSet(0x56, {0x03, 0x00, 0x02, 0x40, 0x00}),                             // a two-byte volume
      DataSet(0x56, {0x03, 0x01, 0x02, 0x40}), DataSet(0x43, {0x00, 0x00, 0x01, 0x40}),
  };
  for (const Bytes& m : others) EXPECT_EQ(Meaning(m), kNotOurs) << ::testing::PrintToString(m);
}

TEST(NotedTrace, TheLineOfAMessagesLastByteSaysWhatItMeans) {
  MessageMeaning meaning;
  NotedTrace trace;
  trace.Describe(0x300, &meaning);
  std::string text;
  auto out = [&](PortEvent::Kind kind, uint16_t port, Bytes bytes) {
    for (uint8_t b : bytes) {
      char line[kNotedTraceLineCapacity];
      text += std::string(line, trace.Line({kind, b, port}, line));
    }
  };
  const auto W = PortEvent::Kind::Write;
  out(W, 0x300, {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7});
  out(W, 0x330, {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7});  // not the data port
  out(W, 0x300, {0xF0, 0x7F}), out(PortEvent::Kind::DisableInterrupts, 0, {0}), out(W, 0x300, {0xF7});
  out(W, 0x300, Bytes(17, 0x01)), out(W, 0x300, {0xF0}), out(W, 0x300, Bytes(16, 0x01)), out(W, 0x300, {0xF7});
  EXPECT_EQ(std::count(text.begin(), text.end(), ';'), 2) << text;
  EXPECT_NE(text.find("OUT 0300 64\r\nOUT 0300 F7 ; master volume 100\r\nOUT 0330 F0\r\n"), std::string::npos);
  EXPECT_NE(text.find("CLI\r\nOUT 0300 F7\r\n"), std::string::npos) << "an interrupted message is no message";
  const std::string overlong = "OUT 0300 F7 ; not a message the panel makes\r\n";
  EXPECT_EQ(text.substr(text.size() - overlong.size()), overlong);
}
