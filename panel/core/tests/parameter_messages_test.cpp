// The exact messages the builders send to the card and what they store.
#include <gtest/gtest.h>

#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/core/parameter_messages.h"
#include "panel/core/tests/message_capture.h"

namespace {

struct PanelCapture : MessageCapture {
  // The one message a builder call sent.
  Bytes One() {
    std::vector<Bytes> all = Take();
    EXPECT_EQ(all.size(), 1u) << "messages sent";
    return all.size() == 1 ? all[0] : Bytes(14, 0x00);
  }
};

std::string ToHex(const Bytes& m) {
  std::string s;
  char b[4];
  for (uint8_t x : m) {
    std::snprintf(b, sizeof b, s.empty() ? "%02X" : " %02X", x);
    s += b;
  }
  return s;
}

void SelectTarget(ParameterMessages& m, DigitalTarget target) {
  while (m.Target() != target) m.CycleDigitalTarget();
}

using Build = void (*)(ParameterMessages&);
constexpr DigitalTarget S = DigitalTarget::Stereo;
constexpr DigitalTarget L = DigitalTarget::Left;
constexpr DigitalTarget R = DigitalTarget::Right;

struct Case {
  const char* what;
  DigitalTarget target;
  uint16_t mute;  // the Mute word before the call
  Build act;
  const char* expected;
};

// Every builder at both ends of its range, every target, the channel/part mapping and the
// transposes' accepted and reset values; the first ones are the documented edge cases.
const Case kCases[] = {
    {"master tune 1000", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterTune(1000); }, "F0 41 10 42 12 40 00 00 00 04 00 00 3C F7"},
    {"master tune 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterTune(0); }, "F0 41 10 42 12 40 00 00 00 00 01 08 37 F7"},
    {"master transpose 0", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("0"); }, "F0 41 10 42 12 40 00 05 40 7B F7"},
    {"reverb type 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendReverbType(0); }, "F0 41 10 56 12 00 00 00 00 00 F7"},
    {"reverb level 64", S, 0xFFFF, [](ParameterMessages& m) { m.SendEffect(1, 64); }, "F0 41 10 56 12 00 00 01 40 3F F7"},
    {"right volume 127", R, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(2, 127); }, "F0 41 10 56 12 02 00 0C 7F 73 F7"},
    {"stereo volume 127", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(2, 127); }, "F0 41 10 56 12 03 00 02 7F 7C F7"},
    {"digital tune 8192", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(8192); }, "F0 41 10 56 12 03 00 06 40 00 37 F7"},
    {"channel 10 off", S, 0xFFFF, [](ParameterMessages& m) { m.ToggleChannel(9); }, "F0 41 10 56 12 01 00 00 10 6F F7"},
    // master
    {"master volume 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterVolume(0); }, "F0 7F 7F 04 01 7F 00 F7"},
    {"master volume 127", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterVolume(127); }, "F0 7F 7F 04 01 7F 7F F7"},
    {"master tune 1999", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterTune(1999); }, "F0 41 10 42 12 40 00 00 00 07 0E 07 24 F7"},
    {"key shift 40", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterKeyShift(40); }, "F0 41 10 42 12 40 00 05 28 13 F7"},
    {"key shift 88", S, 0xFFFF, [](ParameterMessages& m) { m.SendMasterKeyShift(88); }, "F0 41 10 42 12 40 00 05 58 63 F7"},
    {"master transpose -24", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("-24"); }, "F0 41 10 42 12 40 00 05 28 13 F7"},
    {"master transpose 24", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("24"); }, "F0 41 10 42 12 40 00 05 58 63 F7"},
    {"master transpose 25", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("25"); }, "F0 41 10 42 12 40 00 05 40 7B F7"},
    {"master transpose -25", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("-25"); }, "F0 41 10 42 12 40 00 05 40 7B F7"},
    {"master transpose 240", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyMasterTranspose("240"); }, "F0 41 10 42 12 40 00 05 40 7B F7"},
    // reverb/delay and chorus
    {"effect 1 at 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendEffect(1, 0); }, "F0 41 10 56 12 00 00 01 00 7F F7"},
    {"effect 1 at 127", S, 0xFFFF, [](ParameterMessages& m) { m.SendEffect(1, 127); }, "F0 41 10 56 12 00 00 01 7F 00 F7"},
    {"effect 9 at 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendEffect(9, 0); }, "F0 41 10 56 12 00 00 09 00 77 F7"},
    {"effect 9 at 127", S, 0xFFFF, [](ParameterMessages& m) { m.SendEffect(9, 127); }, "F0 41 10 56 12 00 00 09 7F 78 F7"},
    {"reverb type 7", S, 0xFFFF, [](ParameterMessages& m) { m.SendReverbType(7); }, "F0 41 10 56 12 00 00 00 07 79 F7"},
    // digital audio, all three targets
    {"stereo offset 2 at 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(2, 0); }, "F0 41 10 56 12 03 00 02 00 7B F7"},
    {"stereo offset 10 at 127", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(10, 127); }, "F0 41 10 56 12 03 00 0A 7F 74 F7"},
    {"stereo tune 0", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(0); }, "F0 41 10 56 12 03 00 06 00 00 77 F7"},
    {"stereo tune 16383", S, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(16383); }, "F0 41 10 56 12 03 00 06 7F 7F 79 F7"},
    {"left offset 2 at 0", L, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(2, 0); }, "F0 41 10 56 12 02 00 02 00 7C F7"},
    {"left offset 10 at 127", L, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(10, 127); }, "F0 41 10 56 12 02 00 0A 7F 75 F7"},
    {"left tune 0", L, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(0); }, "F0 41 10 56 12 02 00 06 00 00 78 F7"},
    {"left tune 16383", L, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(16383); }, "F0 41 10 56 12 02 00 06 7F 7F 7A F7"},
    {"right offset 2 at 0", R, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(2, 0); }, "F0 41 10 56 12 02 00 0C 00 72 F7"},
    {"right offset 10 at 127", R, 0xFFFF, [](ParameterMessages& m) { m.SendDigital(10, 127); }, "F0 41 10 56 12 02 00 14 7F 6B F7"},
    {"right tune 0", R, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(0); }, "F0 41 10 56 12 02 00 10 00 00 6E F7"},
    {"right tune 16383", R, 0xFFFF, [](ParameterMessages& m) { m.SendDigitalTune(16383); }, "F0 41 10 56 12 02 00 10 7F 7F 70 F7"},
    {"digital transpose -64", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyDigitalTranspose("-64"); }, "F0 41 10 56 12 03 00 05 00 78 F7"},
    {"digital transpose 63", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyDigitalTranspose("63"); }, "F0 41 10 56 12 03 00 05 7F 79 F7"},
    {"digital transpose 64", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyDigitalTranspose("64"); }, "F0 41 10 56 12 03 00 05 40 38 F7"},
    {"digital transpose -65", S, 0xFFFF, [](ParameterMessages& m) { m.ApplyDigitalTranspose("-65"); }, "F0 41 10 56 12 03 00 05 40 38 F7"},
    // channel/part mapping: a set bit is switched off (data 10h), a clear one on (data n)
    {"channel 1 off", S, 0xFFFF, [](ParameterMessages& m) { m.ToggleChannel(0); }, "F0 41 10 56 12 01 01 00 10 6E F7"},
    {"channel 9 off", S, 0xFFFF, [](ParameterMessages& m) { m.ToggleChannel(8); }, "F0 41 10 56 12 01 09 00 10 66 F7"},
    {"channel 11 off", S, 0xFFFF, [](ParameterMessages& m) { m.ToggleChannel(10); }, "F0 41 10 56 12 01 0A 00 10 65 F7"},
    {"channel 16 off", S, 0xFFFF, [](ParameterMessages& m) { m.ToggleChannel(15); }, "F0 41 10 56 12 01 0F 00 10 60 F7"},
    {"channel 1 on", S, 0x0000, [](ParameterMessages& m) { m.ToggleChannel(0); }, "F0 41 10 56 12 01 01 00 00 7E F7"},
    {"channel 9 on", S, 0x0000, [](ParameterMessages& m) { m.ToggleChannel(8); }, "F0 41 10 56 12 01 09 00 08 6E F7"},
    {"channel 10 on", S, 0x0000, [](ParameterMessages& m) { m.ToggleChannel(9); }, "F0 41 10 56 12 01 00 00 09 76 F7"},
    {"channel 11 on", S, 0x0000, [](ParameterMessages& m) { m.ToggleChannel(10); }, "F0 41 10 56 12 01 0A 00 0A 6B F7"},
    {"channel 16 on", S, 0x0000, [](ParameterMessages& m) { m.ToggleChannel(15); }, "F0 41 10 56 12 01 0F 00 0F 61 F7"},
};

class BuilderCase : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(BuilderCase, SendsExactlyThisOneMessageWithTheRightChecksum) {
  PanelCapture c;
  c.settings.Mute = GetParam().mute;
  SelectTarget(c.messages, GetParam().target);
  GetParam().act(c.messages);
  const Bytes m = c.One();
  EXPECT_EQ(ToHex(m), GetParam().expected);
  ASSERT_GE(m.size(), 8u);
  EXPECT_EQ(m.front(), 0xF0);
  EXPECT_EQ(m.back(), 0xF7);
  for (size_t i = 1; i + 1 < m.size(); ++i) EXPECT_LT(m[i], 0x80) << "byte " << i;
  if (m[1] != 0x7F) EXPECT_TRUE(ChecksumIsRight(m)) << "master volume carries no checksum";
}

INSTANTIATE_TEST_SUITE_P(Messages, BuilderCase, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(Builders, StoreWhatTheySend) {
  PanelCapture c;
  PanelSettings& s = c.settings;
  c.messages.SendMasterVolume(12);
  c.messages.SendMasterTune(1500);
  c.messages.SendMasterKeyShift(50);
  c.messages.SendEffect(kChorusRate, 99);
  c.messages.SendReverbType(6);
  c.messages.SendDigital(kDigitalReverb, 90);
  c.messages.SendDigitalTune(0x1234);
  c.messages.ToggleChannel(3);
  EXPECT_EQ(c.Take().size(), 8u);
  EXPECT_EQ(s.MVol, 12);
  EXPECT_EQ(s.MTun, 1500);
  EXPECT_EQ(s.MTrn, 50);
  EXPECT_EQ(s.EffectsBlock[kChorusRate], 99);
  EXPECT_EQ(s.EffectsBlock[kReverbType], 6);
  EXPECT_EQ(s.DigitalBlock[kDigitalReverb], 90);
  EXPECT_EQ(s.DTun, 0x1234);
  EXPECT_EQ(s.Mute, 0xFFF7);
}

// Loading a file or saving what the controls show replaces the settings at once; the port is no
// setting of the panel and stays.
TEST(Builders, AdoptTakesEverySettingButThePortAndSendsNothing) {
  PanelCapture c;
  PanelSettings values;
  values.Port = 0x300;
  values.MVol = 5;
  values.Mute = 0x00F0;
  values.EffectsBlock[kChorusDepth] = 1;
  values.DigitalBlock[kDigitalPan] = 2;
  c.messages.Adopt(values);
  EXPECT_TRUE(c.Take().empty());
  EXPECT_EQ(c.settings.Port, 0x330u);
  EXPECT_EQ(c.settings.MVol, 5);
  EXPECT_EQ(c.settings.Mute, 0x00F0);
  EXPECT_EQ(c.settings.EffectsBlock[kChorusDepth], 1);
  EXPECT_EQ(c.settings.DigitalBlock[kDigitalPan], 2);
}

TEST(Builders, DigitalValueKeepsItsLowSevenBits) {
  PanelCapture c;
  c.messages.SendDigital(kDigitalVolume, 0x80 + 5);
  EXPECT_EQ(c.One()[8], 5);
  EXPECT_EQ(c.settings.DigitalBlock[kDigitalVolume], 5);
}

// Values outside a control's range cannot reach the builders from the panel, but a stray one
// must never put a byte of 80h or more inside a message or write outside the settings blocks.
TEST(Builders, OutOfRangeValuesAreHeldToTheirRange) {
  PanelCapture c;
  c.messages.SendMasterVolume(300);
  EXPECT_EQ(ToHex(c.One()), "F0 7F 7F 04 01 7F 7F F7");
  c.messages.SendMasterVolume(-1);
  EXPECT_EQ(ToHex(c.One()), "F0 7F 7F 04 01 7F 00 F7");
  c.messages.SendMasterTune(70000);
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 42 12 40 00 00 00 07 0E 07 24 F7");
  c.messages.SendMasterKeyShift(200);
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 42 12 40 00 05 58 63 F7");
  c.messages.SendEffect(kReverbLevel, 128);
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 56 12 00 00 01 7F 00 F7");
  c.messages.SendDigitalTune(-5);
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 56 12 03 00 06 00 00 77 F7");
}

TEST(Builders, AnIndexThatNamesNoParameterSendsAndChangesNothing) {
  PanelCapture c;
  c.settings.MVol = 77;
  const PanelSettings before = c.settings;
  c.messages.SendEffect(0, 5);
  c.messages.SendEffect(10, 5);
  c.messages.SendDigital(1, 5);
  c.messages.SendDigital(11, 5);
  c.messages.SendDigital(-3, 5);
  c.messages.SendDigital(kDigitalTuneMsb, 5);  // the tune goes out whole, from DTun
  c.messages.SendDigital(kDigitalTuneLsb, 5);
  c.messages.ToggleChannel(16);
  c.messages.ToggleChannel(-1);
  c.messages.SendChannelReceive(16, true);
  EXPECT_TRUE(c.Take().empty());
  EXPECT_EQ(before.DTun, c.settings.DTun);
  EXPECT_EQ(0, std::memcmp(before.DigitalBlock, c.settings.DigitalBlock, sizeof before.DigitalBlock));
  EXPECT_EQ(0, std::memcmp(before.EffectsBlock, c.settings.EffectsBlock, sizeof before.EffectsBlock));
  EXPECT_EQ(before.Mute, c.settings.Mute);
}

TEST(Builders, ReverbTypeWithoutSelectionResendsTheTypeInForce) {
  PanelCapture c;
  c.settings.EffectsBlock[kReverbType] = 6;
  c.messages.SendReverbType(-1);
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 56 12 00 00 00 06 7A F7");
  c.messages.SendReverbType(8);
  EXPECT_EQ(c.One()[8], 6);
  c.settings.EffectsBlock[kReverbType] = 200;  // never loaded, but never sent either
  c.messages.SendReverbType(-1);
  EXPECT_EQ(c.One()[8], 4);
}

TEST(Channels, ToggleTwiceRestoresTheBitAndAlternatesTheData) {
  PanelCapture c;
  c.messages.ToggleChannel(9);
  c.messages.ToggleChannel(9);
  const auto sent = c.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(ToHex(sent[0]), "F0 41 10 56 12 01 00 00 10 6F F7");
  EXPECT_EQ(ToHex(sent[1]), "F0 41 10 56 12 01 00 00 09 76 F7");
  EXPECT_EQ(c.settings.Mute, 0xFFFF);
}

TEST(Channels, EveryChannelGoesToItsPart) {
  const uint8_t part[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11, 12, 13, 14, 15};
  PanelCapture c;
  c.settings.Mute = 0;
  for (int n = 0; n < 16; ++n) {
    c.messages.ToggleChannel(n);
    const Bytes m = c.One();
    EXPECT_EQ(m[5], 0x01) << n;
    EXPECT_EQ(m[6], part[n]) << n;
    EXPECT_EQ(m[7], 0x00) << n;
    EXPECT_EQ(m[8], n) << n;
    EXPECT_TRUE(ChecksumIsRight(m));
  }
  EXPECT_EQ(c.settings.Mute, 0xFFFF);
}

// How the panel sends the stored state: each channel says whether it receives on its own channel.
TEST(Channels, SendingTheStoredStateKeepsIt) {
  PanelCapture c;
  c.settings.Mute = 0x8201;  // channels 1, 10 and 16 receive
  for (int n = 0; n < 16; ++n) c.messages.SendChannelReceive(n, c.settings.ReceivesOnItsChannel(n));
  const auto sent = c.Take();
  ASSERT_EQ(sent.size(), 16u);
  for (int n = 0; n < 16; ++n) {
    const bool receives = n == 0 || n == 9 || n == 15;
    EXPECT_EQ(sent[n][8], receives ? n : 0x10) << n;
  }
  EXPECT_EQ(c.settings.Mute, 0x8201);
  c.messages.SendChannelReceive(1, true);
  c.messages.SendChannelReceive(15, false);
  EXPECT_EQ(c.settings.Mute, 0x0203);
  EXPECT_EQ(c.Take().size(), 2u);
}

TEST(Transpose, TextThatIsNoNumberSendsAndChangesNothing) {
  for (const char* text : {"", " ", "-", "+5", "abc", "1 2", "- 3", "--1", "0x10", "12a", "\xB1" "5"}) {
    PanelCapture c;
    c.settings.MTrn = 70;
    c.settings.DigitalBlock[kDigitalTranspose] = 3;
    EXPECT_EQ(c.messages.ApplyMasterTranspose(text), TransposeResult::NotANumber) << text;
    EXPECT_EQ(c.messages.ApplyDigitalTranspose(text), TransposeResult::NotANumber) << text;
    EXPECT_TRUE(c.Take().empty()) << text;
    EXPECT_EQ(c.settings.MTrn, 70);
    EXPECT_EQ(c.settings.DigitalBlock[kDigitalTranspose], 3);
  }
}

TEST(Transpose, AcceptedNumbersAreStoredAsDeviceValues) {
  PanelCapture c;
  EXPECT_EQ(c.messages.ApplyMasterTranspose(" -7 "), TransposeResult::Applied);
  EXPECT_EQ(c.settings.MTrn, 57);
  EXPECT_EQ(c.messages.ApplyDigitalTranspose("\t12"), TransposeResult::Applied);
  EXPECT_EQ(c.settings.DigitalBlock[kDigitalTranspose], 76);
  EXPECT_EQ(c.messages.ApplyDigitalTranspose("-0"), TransposeResult::Applied);
  EXPECT_EQ(c.settings.DigitalBlock[kDigitalTranspose], 64);
  EXPECT_EQ(c.Take().size(), 3u);
}

TEST(Transpose, NumbersBeyondTheRangeResetToTheCentre) {
  for (const char* text : {"25", "-25", "240", "999", "99999999999999999999999", "-99999999999999999999999"}) {
    PanelCapture c;
    c.settings.MTrn = 40;
    EXPECT_EQ(c.messages.ApplyMasterTranspose(text), TransposeResult::Reset) << text;
    EXPECT_EQ(c.settings.MTrn, 64);
    EXPECT_EQ(c.One()[8], 0x40);
  }
  for (const char* text : {"64", "-65", "4294967296", "-2147483648"}) {
    PanelCapture c;
    c.settings.DigitalBlock[kDigitalTranspose] = 0;
    EXPECT_EQ(c.messages.ApplyDigitalTranspose(text), TransposeResult::Reset) << text;
    EXPECT_EQ(c.settings.DigitalBlock[kDigitalTranspose], 64);
    EXPECT_EQ(c.One()[8], 0x40);
  }
}

TEST(Transpose, DigitalTransposeFollowsTheTarget) {
  PanelCapture c;
  SelectTarget(c.messages, DigitalTarget::Right);
  c.messages.ApplyDigitalTranspose("1");
  EXPECT_EQ(ToHex(c.One()), "F0 41 10 56 12 02 00 0F 41 2E F7");
}

TEST(DigitalTarget, CyclesStereoLeftRightAndBackWithoutSending) {
  PanelCapture c;
  EXPECT_EQ(c.messages.Target(), DigitalTarget::Stereo);
  EXPECT_STREQ(DigitalTargetCaption(c.messages.Target()), "&Stereo");
  EXPECT_EQ(c.messages.CycleDigitalTarget(), DigitalTarget::Left);
  EXPECT_STREQ(DigitalTargetCaption(DigitalTarget::Left), "Le&ft");
  EXPECT_EQ(c.messages.CycleDigitalTarget(), DigitalTarget::Right);
  EXPECT_STREQ(DigitalTargetCaption(DigitalTarget::Right), "Ri&ght");
  EXPECT_EQ(c.messages.CycleDigitalTarget(), DigitalTarget::Stereo);
  EXPECT_STREQ(DigitalTargetCaption(c.messages.Target()), "&Stereo");
  EXPECT_TRUE(c.Take().empty());
}

TEST(ParseTransposeText, ReadsSignedDecimalWithBlanksAround) {
  struct Good {
    const char* text;
    int value;
  };
  for (const Good& g : {Good{"0", 0}, Good{"-0", 0}, Good{"  24", 24}, Good{"-24  ", -24}, Good{"\t-5\t", -5},
                        Good{"007", 7}, Good{"-064", -64}}) {
    int value = 12345;
    EXPECT_TRUE(ParseTransposeText(g.text, &value)) << g.text;
    EXPECT_EQ(value, g.value) << g.text;
  }
  int untouched = 12345;
  EXPECT_FALSE(ParseTransposeText(nullptr, &untouched));
  EXPECT_FALSE(ParseTransposeText("- 1", &untouched));
  EXPECT_FALSE(ParseTransposeText("1-", &untouched));
  EXPECT_EQ(untouched, 12345);
}

TEST(ParseTransposeText, HugeDigitStringsStayOutOfEveryRangeWithoutOverflow) {
  int value = 0;
  ASSERT_TRUE(ParseTransposeText("2147483648", &value));
  EXPECT_GT(value, 63);
  ASSERT_TRUE(ParseTransposeText("-2147483649", &value));
  EXPECT_LT(value, -64);
  const std::string many(5000, '9');
  ASSERT_TRUE(ParseTransposeText(many.c_str(), &value));
  EXPECT_GT(value, 63);
}
