// The panel's start-up push and event rules, driven through a plain-field control surface, with
// the real message builders, sink and port protocol over the software interface.
#include <gtest/gtest.h>

#include <string>

#include "panel/core/settings_from_messages.h"
#include "panel/device/chosen_output.h"
#include "panel/device/tests/fake_midi_out.h"
#include "panel/files/midi_export.h"
#include "panel/files/sysex_file_reader.h"
#include "panel/files/tests/export_bench.h"
#include "panel/files/tests/export_fakes.h"
#include "panel/ui/panel_controls.h"
#include "panel/ui/tests/panel_bench.h"

namespace {

using Messages = std::vector<Bytes>;

// Written out by hand from the message layouts: the 35 messages of a first run.
const Messages kDefaultPush = {
    {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x7F, 0xF7},                          // master volume 127
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x02, 0x7F, 0x7C, 0xF7},        // digital volume 127
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x03, 0x7F, 0x7B, 0xF7},        // brightness 127
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x06, 0x40, 0x00, 0x37, 0xF7},  // digital tune 8192
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x09, 0x64, 0x10, 0xF7},        // digital reverb 100
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x0A, 0x00, 0x73, 0xF7},        // digital chorus 0
    {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x3C, 0xF7},  // tune
    {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x05, 0x40, 0x7B, 0xF7},        // key shift 0
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x05, 0x00, 0x78, 0xF7},        // transpose -64
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7},        // reverb level
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x02, 0x40, 0x3E, 0xF7},        // reverb decay
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x03, 0x40, 0x3D, 0xF7},        // delay time
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x04, 0x00, 0x7C, 0xF7},        // delay feedback
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x05, 0x40, 0x3B, 0xF7},        // chorus level
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x06, 0x13, 0x67, 0xF7},        // chorus feedback
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x07, 0x13, 0x66, 0xF7},        // chorus delay
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x08, 0x03, 0x75, 0xF7},        // chorus rate
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x09, 0x13, 0x64, 0xF7},        // chorus depth
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x00, 0x04, 0x7C, 0xF7},        // type "Hall 2"
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x01, 0x00, 0x00, 0x7E, 0xF7},        // channel 1
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x02, 0x00, 0x01, 0x7C, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x03, 0x00, 0x02, 0x7A, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x04, 0x00, 0x03, 0x78, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x05, 0x00, 0x04, 0x76, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x06, 0x00, 0x05, 0x74, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x07, 0x00, 0x06, 0x72, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x08, 0x00, 0x07, 0x70, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x09, 0x00, 0x08, 0x6E, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x00, 0x00, 0x09, 0x76, 0xF7},        // channel 10: part 0
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0A, 0x00, 0x0A, 0x6B, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0B, 0x00, 0x0B, 0x69, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0C, 0x00, 0x0C, 0x67, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0D, 0x00, 0x0D, 0x65, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0E, 0x00, 0x0E, 0x63, 0xF7},
    {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x0F, 0x00, 0x0F, 0x61, 0xF7},
};

const Bytes kNothing;

Messages One(const Bytes& message) { return Messages{message}; }

struct Slider {
  int id;
  int high;
  int tick;
};

// ---------------------------------------------------------------- start-up push

TEST(StartupPush, DefaultsSendTheFirstRunStateByteForByte) {
  PanelBench bench;
  bench.controller.StartupPush();

  const Messages sent = bench.TakeMessages();
  ASSERT_EQ(sent.size(), 35u);
  for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i], kDefaultPush[i]) << "message " << i;
  size_t bytes = 0;
  for (const Bytes& m : sent) bytes += m.size();
  EXPECT_EQ(bytes, 386u);
  // The push touches the data port only.
  for (size_t i = 0; i < bench.card.EventCount(); ++i) {
    EXPECT_EQ(bench.card.Event(i).kind, PortEvent::Kind::Write);
    EXPECT_EQ(bench.card.Event(i).port, 0x330);
  }
}

TEST(StartupPush, DefaultsSetEveryControl) {
  PanelBench bench;
  bench.controller.Open();
  FakeControlSurface& s = bench.surface;

  const Slider sliders[] = {
      {IDC_MASTER_VOLUME, 127, -1}, {IDC_MASTER_TUNE, 1999, 1000}, {IDC_DIGITAL_VOLUME, 127, -1},
      {IDC_DIGITAL_BRIGHTNESS, 127, -1}, {IDC_DIGITAL_TUNE, 16383, 8192},
      {IDC_DIGITAL_REVERB, 127, -1}, {IDC_DIGITAL_CHORUS, 127, -1},
  };
  for (const Slider& slider : sliders) {
    EXPECT_EQ(s.sliders[slider.id].low, 0) << slider.id;
    EXPECT_EQ(s.sliders[slider.id].high, slider.high) << slider.id;
    EXPECT_EQ(s.sliders[slider.id].tick, slider.tick) << slider.id;
  }
  for (int id = IDC_REVERB_LEVEL; id <= IDC_CHORUS_DEPTH; ++id) EXPECT_EQ(s.sliders[id].high, 127);
  EXPECT_EQ(s.sliders[IDC_MASTER_VOLUME].pos, 127);
  EXPECT_EQ(s.sliders[IDC_MASTER_TUNE].pos, 1000);
  EXPECT_EQ(s.sliders[IDC_DIGITAL_TUNE].pos, 8192);
  EXPECT_EQ(s.sliders[IDC_DIGITAL_REVERB].pos, 100);
  EXPECT_EQ(s.sliders[IDC_CHORUS_FEEDBACK].pos, 19);

  EXPECT_EQ(s.texts[IDC_MASTER_TRANSPOSE], "0");
  EXPECT_EQ(s.texts[IDC_DIGITAL_TRANSPOSE], "-64");  // DTrn 0 shows as -64
  EXPECT_EQ(s.editLimits[IDC_MASTER_TRANSPOSE], 3);
  EXPECT_EQ(s.editLimits[IDC_DIGITAL_TRANSPOSE], 3);
  EXPECT_EQ(s.upDownRanges[IDC_MASTER_TRANSPOSE_SPIN], std::make_pair(-24, 24));
  EXPECT_EQ(s.upDownRanges[IDC_DIGITAL_TRANSPOSE_SPIN], std::make_pair(-64, 63));

  EXPECT_EQ(s.ComboSelection(IDC_REVERB_TYPE), 4);
  EXPECT_TRUE(s.visible[IDC_REVERB_DECAY]);
  EXPECT_TRUE(s.visible[IDC_DECAY_LABEL]);
  EXPECT_FALSE(s.visible[IDC_DELAY_TIME]);
  EXPECT_FALSE(s.visible[IDC_TIME_LABEL]);
  EXPECT_FALSE(s.visible[IDC_DELAY_FEEDBACK]);
  EXPECT_FALSE(s.visible[IDC_REPEAT_LABEL]);

  for (int id = IDC_CHANNEL_FIRST; id <= IDC_CHANNEL_LAST; ++id) EXPECT_TRUE(s.checks[id]) << id;
  EXPECT_EQ(s.texts[IDC_DIGITAL_TARGET], "Stereo");
  EXPECT_EQ(bench.settings.Mute, 0xFFFF);
}

TEST(StartupPush, NoChannelReceivingAndPanDelay) {
  PanelBench bench;
  bench.settings.Mute = 0;
  bench.settings.EffectsBlock[kReverbType] = 7;
  bench.controller.StartupPush();

  const Messages sent = bench.TakeMessages();
  EXPECT_EQ(sent, ExpectedStartupPush(bench.settings));
  ASSERT_EQ(sent.size(), 35u);
  EXPECT_EQ(sent[18], (Bytes{0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x00, 0x07, 0x79, 0xF7}));
  // Channel 10 receiving nothing: data 10h.
  EXPECT_EQ(sent[19 + 9], (Bytes{0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x00, 0x00, 0x10, 0x6F, 0xF7}));

  EXPECT_EQ(bench.settings.Mute, 0);
  for (int id = IDC_CHANNEL_FIRST; id <= IDC_CHANNEL_LAST; ++id) EXPECT_FALSE(bench.surface.checks[id]);
  EXPECT_EQ(bench.surface.texts[IDC_REVERB_TYPE], "Pan Delay");
  EXPECT_FALSE(bench.surface.visible[IDC_REVERB_DECAY]);
  EXPECT_FALSE(bench.surface.visible[IDC_DECAY_LABEL]);
  EXPECT_TRUE(bench.surface.visible[IDC_DELAY_TIME]);
  EXPECT_TRUE(bench.surface.visible[IDC_TIME_LABEL]);
  EXPECT_TRUE(bench.surface.visible[IDC_DELAY_FEEDBACK]);
  EXPECT_TRUE(bench.surface.visible[IDC_REPEAT_LABEL]);
}

TEST(StartupPush, OtherSettingsFollowTheMessageRules) {
  struct Case {
    const char* what;
    void (*apply)(PanelSettings&);
  };
  const Case cases[] = {
      {"all lowest", [](PanelSettings& s) {
         s.MVol = 0; s.MTrn = 40; s.MTun = 0; s.DTun = 0; s.Mute = 0x0001;
         for (int o = 2; o <= 10; ++o) s.DigitalBlock[o] = 0;
         for (uint8_t& e : s.EffectsBlock) e = 0;
       }},
      {"all highest", [](PanelSettings& s) {
         s.MVol = 127; s.MTrn = 88; s.MTun = 1999; s.DTun = 16383; s.Mute = 0x8000;
         for (int o = 2; o <= 10; ++o) s.DigitalBlock[o] = 127;
         for (int k = 1; k < 10; ++k) s.EffectsBlock[k] = 127;
         s.EffectsBlock[0] = 6;
       }},
      {"alternate channels", [](PanelSettings& s) {
         s.Mute = 0xAAAA; s.DigitalBlock[kDigitalTranspose] = 64; s.MTrn = 52; s.DTun = 0x1234;
         s.MTun = 777; s.EffectsBlock[0] = 0;
       }},
  };
  for (const Case& c : cases) {
    PanelBench bench;
    c.apply(bench.settings);
    const PanelSettings before = bench.settings;
    bench.controller.StartupPush();
    EXPECT_EQ(bench.TakeMessages(), ExpectedStartupPush(before)) << c.what;
    EXPECT_EQ(bench.settings.Mute, before.Mute) << c.what;
    for (int n = 0; n < 16; ++n)
      EXPECT_EQ(bench.surface.checks[IDC_CHANNEL_FIRST + n], ((before.Mute >> n) & 1) != 0) << c.what;
  }
}

TEST(StartupPush, ValuesTheControlsCannotShowStillGiveThirtyFiveValidMessages) {
  PanelBench bench;
  PanelSettings& s = bench.settings;
  s.MVol = 200;
  s.MTrn = 100;  // +36: out of the box's range, reset to 0
  s.MTun = 5000;
  s.DTun = 0xFFFF;
  s.DigitalBlock[kDigitalTranspose] = 255;
  s.DigitalBlock[kDigitalVolume] = 128;
  s.EffectsBlock[kReverbType] = 9;  // no such type: the default "Hall 2"
  s.EffectsBlock[kChorusDepth] = 250;
  const PanelSettings before = s;
  bench.controller.StartupPush();

  const Messages sent = bench.TakeMessages();
  EXPECT_EQ(sent, ExpectedStartupPush(before));
  for (const Bytes& m : sent)
    for (size_t i = 1; i + 1 < m.size(); ++i) EXPECT_LT(m[i], 0x80);
  EXPECT_EQ(bench.surface.texts[IDC_MASTER_TRANSPOSE], "0");
  EXPECT_EQ(bench.surface.texts[IDC_DIGITAL_TRANSPOSE], "0");
  EXPECT_EQ(bench.surface.ComboSelection(IDC_REVERB_TYPE), 4);
  EXPECT_EQ(s.EffectsBlock[kReverbType], 4);
  EXPECT_EQ(s.MTrn, 64);
}

// What the panel sends when it opens, kept as a dump, gives back every setting it sent.
TEST(StartupPush, ReadsBackAsTheSettingsItSent) {
  PanelBench bench;
  bench.settings.MVol = 1;
  bench.settings.MTrn = 40;
  bench.settings.MTun = 7;
  bench.settings.DTun = 16383;
  bench.settings.Mute = 0x0F0F;
  bench.settings.EffectsBlock[kReverbType] = 7;
  bench.settings.EffectsBlock[kChorusDepth] = 0;
  bench.settings.DigitalBlock[kDigitalBrightness] = 9;
  bench.settings.DigitalBlock[kDigitalTranspose] = 127;
  bench.controller.StartupPush();
  Bytes dump;
  for (const Bytes& message : bench.TakeMessages()) dump.insert(dump.end(), message.begin(), message.end());

  SettingsFromMessages read{PanelSettings{}};
  EXPECT_EQ(ReadSysExFile(dump.data(), dump.size(), read), FileFault::None);
  for (const SettingField& field : kSettingFields) {
    const bool sent = std::string(field.name) != "DRat" && std::string(field.name) != "DPan" &&
                      std::string(field.name) != "Port";  // no control shows rate and pan
    if (sent) EXPECT_EQ(ReadField(read.Settings(), field), ReadField(bench.settings, field)) << field.name;
  }
}

// ---------------------------------------------------------------- sliders

class Opened : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.controller.StartupPush();
    bench.TakeMessages();
  }
  PanelBench bench;
  PanelController& panel = bench.controller;
};

TEST_F(Opened, MouseDragSendsOnceWithTheReleasePositionEvenWhenTheEndIsReportedTwice) {
  bench.surface.MoveThumb(IDC_DIGITAL_REVERB, 70);
  panel.OnScroll(IDC_DIGITAL_REVERB, kScrollThumbTrack);
  bench.surface.MoveThumb(IDC_DIGITAL_REVERB, 90);
  panel.OnScroll(IDC_DIGITAL_REVERB, kScrollThumbTrack);
  panel.OnScroll(IDC_DIGITAL_REVERB, kScrollThumbPosition);
  EXPECT_EQ(bench.TakeBytes(), kNothing) << "nothing while the thumb moves";
  panel.OnScroll(IDC_DIGITAL_REVERB, kScrollEnd);
  panel.OnScroll(IDC_DIGITAL_REVERB, kScrollEnd);

  EXPECT_EQ(bench.TakeMessages(),
            One({0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x09, 0x5A, 0x1A, 0xF7}));
  EXPECT_EQ(bench.settings.DigitalBlock[kDigitalReverb], 90);
}

TEST_F(Opened, EachKeyboardOrPageStepSendsOnce) {
  const int steps[] = {kScrollLineDown, kScrollLineUp, kScrollPageDown, kScrollPageUp, kScrollTop,
                       kScrollBottom};
  int position = 10;
  for (int code : steps) {
    bench.surface.MoveThumb(IDC_REVERB_LEVEL, ++position);
    panel.OnScroll(IDC_REVERB_LEVEL, code);
    panel.OnScroll(IDC_REVERB_LEVEL, kScrollEnd);
    const Messages sent = bench.TakeMessages();
    ASSERT_EQ(sent.size(), 1u) << "code " << code;
    EXPECT_EQ(sent[0], ExpectedDataSet(0x56, {0x00, 0x00, 0x01, static_cast<uint8_t>(position)}));
  }
}

TEST_F(Opened, EndWithoutAnyStepSendsNothing) {
  panel.OnScroll(IDC_MASTER_VOLUME, kScrollEnd);
  EXPECT_EQ(bench.TakeBytes(), kNothing);
}

TEST_F(Opened, EachSliderSendsItsOwnParameterAndOtherControlsNothing) {
  struct Route {
    int id;
    const char* expected;
  };
  const Route routes[] = {
      {IDC_MASTER_VOLUME, "F0 7F 7F 04 01 7F 33 F7"},
      {IDC_MASTER_TUNE, "F0 41 10 42 12 40 00 00 00 00 04 0B 31 F7"},  // 51 + 24 = 4Bh
      {IDC_DIGITAL_TUNE, "F0 41 10 56 12 03 00 06 00 33 44 F7"},
      {IDC_DIGITAL_VOLUME, "F0 41 10 56 12 03 00 02 33 48 F7"},
      {IDC_DIGITAL_BRIGHTNESS, "F0 41 10 56 12 03 00 03 33 47 F7"},
      {IDC_DIGITAL_REVERB, "F0 41 10 56 12 03 00 09 33 41 F7"},
      {IDC_DIGITAL_CHORUS, "F0 41 10 56 12 03 00 0A 33 40 F7"},
      {IDC_REVERB_LEVEL, "F0 41 10 56 12 00 00 01 33 4C F7"},
      {IDC_CHORUS_LEVEL, "F0 41 10 56 12 00 00 05 33 48 F7"},
      {IDC_CHORUS_DEPTH, "F0 41 10 56 12 00 00 09 33 44 F7"},
  };
  for (const Route& r : routes) {
    bench.surface.MoveThumb(r.id, 51);
    panel.OnScroll(r.id, kScrollLineDown);
    panel.OnScroll(r.id, kScrollEnd);
    EXPECT_EQ(Hex(bench.TakeBytes()), r.expected) << r.id;
  }
  for (int other : {IDC_REVERB_TYPE, IDC_DIGITAL_TRANSPOSE, IDC_DIGITAL_TRANSPOSE_SPIN, IDC_CHANNEL_FIRST, 2027}) {
    panel.OnScroll(other, kScrollLineDown);
    panel.OnScroll(other, kScrollEnd);
    EXPECT_EQ(bench.TakeBytes(), kNothing) << other;
  }
}

// ---------------------------------------------------------------- transpose boxes

TEST_F(Opened, MasterTransposeAppliesInRangeAndResetsOutside) {
  struct Case {
    const char* typed;
    uint8_t sent;
    const char* shown;
  };
  const Case cases[] = {
      {"0", 0x40, "0"},   {"24", 0x58, "24"}, {"-24", 0x28, "-24"}, {"7", 0x47, "7"},
      {"25", 0x40, "0"},  {"-25", 0x40, "0"}, {"240", 0x40, "0"},   {"999", 0x40, "0"},
  };
  for (const Case& c : cases) {
    bench.surface.texts[IDC_MASTER_TRANSPOSE] = c.typed;
    panel.OnEditKillFocus(IDC_MASTER_TRANSPOSE);
    const Messages expected = {ExpectedDataSet(0x42, {0x40, 0x00, 0x05, c.sent})};
    EXPECT_EQ(bench.TakeMessages(), expected) << c.typed;
    EXPECT_EQ(bench.surface.texts[IDC_MASTER_TRANSPOSE], c.shown) << c.typed;
    EXPECT_EQ(bench.settings.MTrn, c.sent) << c.typed;
  }
}

TEST_F(Opened, DigitalTransposeAppliesInRangeAndResetsOutside) {
  struct Case {
    const char* typed;
    uint8_t sent;
    const char* shown;
  };
  const Case cases[] = {
      {"-64", 0x00, "-64"}, {"63", 0x7F, "63"}, {"0", 0x40, "0"},
      {"64", 0x40, "0"},    {"-65", 0x40, "0"}, {"-99", 0x40, "0"},
  };
  for (const Case& c : cases) {
    bench.surface.texts[IDC_DIGITAL_TRANSPOSE] = c.typed;
    panel.OnEditKillFocus(IDC_DIGITAL_TRANSPOSE);
    const Messages expected = {ExpectedDataSet(0x56, {0x03, 0x00, 0x05, c.sent})};
    EXPECT_EQ(bench.TakeMessages(), expected) << c.typed;
    EXPECT_EQ(bench.surface.texts[IDC_DIGITAL_TRANSPOSE], c.shown) << c.typed;
    EXPECT_EQ(bench.settings.DigitalBlock[kDigitalTranspose], c.sent) << c.typed;
  }
}

TEST_F(Opened, TextThatIsNoNumberChangesNothing) {
  for (const char* typed : {"", "abc", "-", "1x"}) {
    for (int id : {IDC_MASTER_TRANSPOSE, IDC_DIGITAL_TRANSPOSE}) {
      bench.surface.texts[id] = typed;
      panel.OnEditKillFocus(id);
      EXPECT_EQ(bench.TakeBytes(), kNothing) << typed;
      EXPECT_EQ(bench.surface.texts[id], typed);
    }
  }
  EXPECT_EQ(bench.settings.MTrn, 64);
  EXPECT_EQ(bench.settings.DigitalBlock[kDigitalTranspose], 0);
}

TEST_F(Opened, LongerTextIsNeverReadAsAShorterNumber) {
  for (const char* typed : {"-240", "1000"}) {
    bench.surface.texts[IDC_MASTER_TRANSPOSE] = typed;  // "-240" is not "-24"
    panel.OnEditKillFocus(IDC_MASTER_TRANSPOSE);
    const Messages expected = {ExpectedDataSet(0x42, {0x40, 0x00, 0x05, 0x40})};
    EXPECT_EQ(bench.TakeMessages(), expected) << typed;
  }
}

// ---------------------------------------------------------------- reverb type

TEST(ReverbTypeNames, ListOrderAndPrefixMatch) {
  const char* names[] = {"Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"};
  for (int i = 0; i < kReverbTypeCount; ++i) EXPECT_STREQ(ReverbTypeName(i), names[i]);
  EXPECT_EQ(ReverbTypeName(-1), nullptr);
  EXPECT_EQ(ReverbTypeName(8), nullptr);

  struct Case {
    const char* text;
    int index;
  };
  const Case cases[] = {
      {"hall 2", 4}, {"HALL 2", 4}, {"hAlL 2", 4}, {"Hall 2", 4}, {"h", 3}, {"room", 0},
      {"ROOM 3", 2}, {"p", 5},      {"pan", 7},    {"d", 6},      {"Pan Delay", 7},
      {"x", -1},     {"", 0},      {"hall 3", -1}, {"Hall 2 ", -1}, {"Pan Delay and more", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(FindReverbTypeByPrefix(c.text), c.index) << '"' << c.text << '"';
}

TEST_F(Opened, TypedTypeNameSelectsAndSendsOnLeaving) {
  for (const char* typed : {"hall 2", "HALL 2", "Hall 2"}) {
    bench.surface.comboSelections[IDC_REVERB_TYPE] = 0;
    bench.surface.texts[IDC_REVERB_TYPE] = typed;
    panel.OnReverbTypeKillFocus();
    EXPECT_EQ(bench.surface.ComboSelection(IDC_REVERB_TYPE), 4) << typed;
    EXPECT_EQ(bench.surface.texts[IDC_REVERB_TYPE], "Hall 2");
    EXPECT_EQ(bench.TakeMessages(),
              One({0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x00, 0x04, 0x7C, 0xF7}))
        << typed;
  }
}

TEST_F(Opened, TypedTextThatNamesNoTypeChangesNothing) {
  for (const char* typed : {"x", "hall 3"}) {
    bench.surface.texts[IDC_REVERB_TYPE] = typed;
    panel.OnReverbTypeKillFocus();
    EXPECT_EQ(bench.TakeBytes(), kNothing) << '"' << typed << '"';
    EXPECT_EQ(bench.surface.ComboSelection(IDC_REVERB_TYPE), 4);
    EXPECT_EQ(bench.settings.EffectsBlock[kReverbType], 4);
  }
}

TEST_F(Opened, DelayTypesShowTimeAndRepeatInsteadOfDecay) {
  struct Case {
    int type;
    bool delay;
  };
  const Case cases[] = {{6, true}, {5, false}, {7, true}, {0, false}};
  for (const Case& c : cases) {
    bench.surface.comboSelections[IDC_REVERB_TYPE] = c.type;
    panel.OnReverbTypeSelChange();
    const Messages expected = {ExpectedDataSet(0x56, {0x00, 0x00, 0x00, static_cast<uint8_t>(c.type)})};
    EXPECT_EQ(bench.TakeMessages(), expected);
    EXPECT_EQ(bench.settings.EffectsBlock[kReverbType], c.type);
    FakeControlSurface& s = bench.surface;
    EXPECT_EQ(s.visible[IDC_REVERB_DECAY], !c.delay) << c.type;
    EXPECT_EQ(s.visible[IDC_DECAY_LABEL], !c.delay) << c.type;
    EXPECT_EQ(s.visible[IDC_DELAY_TIME], c.delay) << c.type;
    EXPECT_EQ(s.visible[IDC_TIME_LABEL], c.delay) << c.type;
    EXPECT_EQ(s.visible[IDC_DELAY_FEEDBACK], c.delay) << c.type;
    EXPECT_EQ(s.visible[IDC_REPEAT_LABEL], c.delay) << c.type;
  }
}

TEST_F(Opened, ComboWithoutSelectionSendsNothing) {
  bench.surface.comboSelections[IDC_REVERB_TYPE] = -1;
  panel.OnReverbTypeSelChange();
  EXPECT_EQ(bench.TakeBytes(), kNothing);
}

// ---------------------------------------------------------------- channels and target

TEST_F(Opened, ChannelBoxTogglesItsPart) {
  const int box = IDC_CHANNEL_FIRST + 9;  // channel 10, part 0
  bench.surface.checks[box] = false;       // the automatic box has flipped with the click
  panel.OnChannelClicked(box);
  EXPECT_EQ(bench.TakeMessages(),
            One({0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x00, 0x00, 0x10, 0x6F, 0xF7}));
  EXPECT_EQ(bench.settings.Mute, 0xFDFF);
  EXPECT_FALSE(bench.surface.checks[box]);

  bench.surface.checks[box] = true;
  panel.OnChannelClicked(box);
  EXPECT_EQ(bench.TakeMessages(), One(ExpectedDataSet(0x56, {0x01, 0x00, 0x00, 0x09})));
  EXPECT_EQ(bench.settings.Mute, 0xFFFF);
  EXPECT_TRUE(bench.surface.checks[box]);

  panel.OnChannelClicked(IDC_CHANNEL_LAST);
  EXPECT_EQ(bench.TakeMessages(), One(ExpectedDataSet(0x56, {0x01, 0x0F, 0x00, 0x10})));
  EXPECT_EQ(bench.settings.Mute, 0x7FFF);

  panel.OnChannelClicked(IDC_CHANNEL_LAST + 1);
  panel.OnChannelClicked(IDC_CHANNEL_FIRST - 1);
  EXPECT_EQ(bench.TakeBytes(), kNothing);
  EXPECT_EQ(bench.settings.Mute, 0x7FFF);
}

TEST_F(Opened, TargetCyclesItsCaptionAndWhereDigitalMessagesGo) {
  struct Step {
    const char* caption;
    Bytes volumeAddress;
  };
  const Step steps[] = {
      {"Le&ft", {0x02, 0x00, 0x02}},
      {"Ri&ght", {0x02, 0x00, 0x0C}},
      {"&Stereo", {0x03, 0x00, 0x02}},
  };
  for (const Step& step : steps) {
    panel.OnTargetClicked();
    EXPECT_EQ(bench.surface.texts[IDC_DIGITAL_TARGET], step.caption);
    EXPECT_EQ(bench.TakeBytes(), kNothing) << "the switch itself sends nothing";

    bench.surface.MoveThumb(IDC_DIGITAL_VOLUME, 127);
    panel.OnScroll(IDC_DIGITAL_VOLUME, kScrollLineDown);
    panel.OnScroll(IDC_DIGITAL_VOLUME, kScrollEnd);
    Bytes body = step.volumeAddress;
    body.push_back(127);
    EXPECT_EQ(bench.TakeMessages(), One(ExpectedDataSet(0x56, body))) << step.caption;
  }
}

}  // namespace

// ---------------------------------------------------------------- settings files

// A file's settings are taken, shown and sent once, to the target the panel has.
TEST_F(Opened, LoadedSettingsAreShownAndSentOnce) {
  panel.OnTargetClicked();  // Left
  PanelSettings loaded = bench.settings;
  loaded.MVol = 16;
  loaded.Mute = 0xFFFB;  // channel 3 receives nothing
  loaded.EffectsBlock[kReverbType] = 7;
  panel.OnSettingsLoaded(loaded);
  const Messages sent = bench.TakeMessages();
  ASSERT_EQ(sent.size(), 35u);
  EXPECT_EQ(sent[0], (Bytes{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x10, 0xF7}));
  EXPECT_EQ(Hex(Bytes(sent[1].begin() + 5, sent[1].begin() + 8)), "02 00 02") << "to the target in force";
  EXPECT_EQ(bench.settings.MVol, 16);
  EXPECT_EQ(bench.surface.sliders[IDC_MASTER_VOLUME].pos, 16);
  EXPECT_FALSE(bench.surface.checks[IDC_CHANNEL_FIRST + 2]);
  EXPECT_EQ(bench.surface.ComboSelection(IDC_REVERB_TYPE), 7);
  EXPECT_TRUE(bench.surface.visible[IDC_DELAY_TIME]);
  EXPECT_EQ(bench.surface.texts[IDC_DIGITAL_TARGET], "Le&ft");
}

// ---------------------------------------------------------------- "Panic", "Save &MIDI", faults

TEST_F(Opened, PanicResetsTheInterfaceAtTheStoredPort) {
  bench.card.ClearEvents();
  panel.OnPanic();
  ASSERT_GE(bench.card.EventCount(), 2u);
  // The Panic byte goes first, one register pair above the interface; then the reset.
  EXPECT_EQ(bench.card.Event(0).kind, PortEvent::Kind::Write);
  EXPECT_EQ(bench.card.Event(0).port, 0x333);
  EXPECT_EQ(bench.card.Event(0).value, 0x80);
  bool reset = false;
  for (size_t i = 1; i < bench.card.EventCount(); ++i) {
    const PortEvent& event = bench.card.Event(i);
    reset |= event.kind == PortEvent::Kind::Write && event.port == 0x331 && event.value == 0xFF;
  }
  EXPECT_TRUE(reset);
}

// The export takes what the controls show, not what was sent last, and the panel then shows the
// controls of the type it saved.
TEST_F(Opened, SaveMidiHandsTheExportWhatTheControlsShow) {
  Journal journal;
  ScriptedUi ui{journal};
  MemoryFile file{journal};
  HeapImageMemory memory;
  bench.surface.comboSelections[IDC_REVERB_TYPE] = 7;  // selected, not yet applied
  bench.surface.MoveThumb(IDC_MASTER_TUNE, 0);
  bench.surface.MoveThumb(IDC_DIGITAL_VOLUME, 99);
  panel.OnTargetClicked();
  panel.OnTargetClicked();  // Right

  EXPECT_EQ(panel.OnSaveMidi(ui, file, memory), kExportSaved);
  SmfFile saved;
  ASSERT_EQ(CheckExportedShape(file.contents, &saved), "");
  EXPECT_EQ(saved.events[1].data[7], 7);                                     // the type
  EXPECT_EQ(Bytes(saved.events[18].data.begin() + 7, saved.events[18].data.begin() + 11),
            (Bytes{0, 0, 1, 8}));                                            // master tune 0
  EXPECT_EQ(Bytes(saved.events[19].data.begin() + 4, saved.events[19].data.begin() + 8),
            (Bytes{0x02, 0x00, 0x0C, 99}));                                  // Right, volume 99
  EXPECT_EQ(bench.messages.Target(), DigitalTarget::Right);
  // What was saved is the state from now on (and is stored at exit).
  EXPECT_EQ(bench.settings.EffectsBlock[kReverbType], 7);
  EXPECT_EQ(bench.settings.MTun, 0);
  EXPECT_EQ(bench.settings.DigitalBlock[kDigitalVolume], 99);
  EXPECT_TRUE(bench.surface.visible[IDC_DELAY_TIME]);
  EXPECT_FALSE(bench.surface.visible[IDC_REVERB_DECAY]);
  EXPECT_EQ(bench.TakeBytes(), kNothing) << "the card sees nothing of an export";
  EXPECT_EQ(memory.obtained, memory.released);
}

// Typing a text that names no type clears the combo's selection; the card keeps the type it has,
// and so does the file.
TEST_F(Opened, SaveMidiWithoutATypeSelectedSavesTheTypeInForce) {
  Journal journal;
  ScriptedUi ui{journal};
  MemoryFile file{journal};
  HeapImageMemory memory;
  bench.messages.SendReverbType(2);
  bench.surface.comboSelections[IDC_REVERB_TYPE] = -1;
  EXPECT_EQ(panel.OnSaveMidi(ui, file, memory), kExportSaved);
  SmfFile saved;
  ASSERT_EQ(CheckExportedShape(file.contents, &saved), "");
  EXPECT_EQ(saved.events[1].data[7], 2);
  EXPECT_EQ(bench.settings.EffectsBlock[kReverbType], 2);
}

TEST_F(Opened, SaveMidiThatRecordsNothingLeavesTheControlsAlone) {
  Journal journal;
  ScriptedUi ui{journal};
  MemoryFile file{journal};
  HeapImageMemory memory;
  bench.surface.comboSelections[IDC_REVERB_TYPE] = 7;
  ui.chosen = nullptr;
  EXPECT_EQ(panel.OnSaveMidi(ui, file, memory), kExportCancelled);
  ui.chosen = "C:\\out\\state.mid";
  memory.refuse = true;
  bench.surface.MoveThumb(IDC_MASTER_TUNE, 0);
  EXPECT_EQ(panel.OnSaveMidi(ui, file, memory), kExportNoMemory);
  EXPECT_TRUE(bench.surface.visible[IDC_REVERB_DECAY]);
  EXPECT_FALSE(bench.surface.visible[IDC_DELAY_TIME]);
  EXPECT_EQ(bench.settings.EffectsBlock[kReverbType], 4);
  EXPECT_EQ(bench.settings.MTun, 1000);
}

TEST(PortFaults, ToldOncePerFaultAndNotBeforeTheStartupPushHasEnded) {
  PanelBench bench;
  bench.settings.Port = 0x10330;
  bench.card.SetAbsent(true);
  bench.messages.SendMasterVolume(1);
  EXPECT_EQ(bench.controller.TakeOutputFaultReport().stringId, 0) << "the panel is not on the screen yet";
  bench.controller.StartupPush();
  const OutputFaultReport report = bench.controller.TakeOutputFaultReport();
  EXPECT_EQ(report.stringId, IDS_PORT_NOT_RESPONDING);
  EXPECT_EQ(report.port, 0x330u);
  EXPECT_FALSE(report.fault.OfDevice());
  EXPECT_EQ(bench.controller.TakeOutputFaultReport().stringId, 0) << "once per fault";

  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::None), 0);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::PortNotResponding), IDS_PORT_NOT_RESPONDING);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::PortAccessRefused), IDS_PORT_REFUSED);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::NoPortDriver), IDS_PORT_NO_DRIVER);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::PortDriverNotRunning), IDS_PORT_DRIVER_NOT_RUNNING);
}

// With a MIDI output device chosen, the panel's state and its Panic go to the device and the card
// gets nothing; settings taken over from elsewhere leave the choice alone; the device's faults
// name it; choosing the card again lets the device go.
TEST(DeviceChosen, GetsTheWholeStateAndPanicAndItsFaultsNameIt) {
  CardBench card;
  FakeMidiOut midi;
  SteppingClock clock;
  MidiDeviceOutput device{midi, clock};
  ChosenOutput chosen{card.sink, device};
  ParameterMessages messages{card.settings, chosen};
  FakeControlSurface surface;
  PanelController panel{messages, surface, chosen};

  chosen.Choose("USB MIDI");
  panel.StartupPush();
  EXPECT_EQ(midi.sent, kDefaultPush);
  PanelSettings loaded;
  loaded.MVol = 5;
  messages.Adopt(loaded);
  panel.StartupPush();
  EXPECT_EQ(midi.sent.size(), 70u);
  EXPECT_EQ(midi.sent[35], (Bytes{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x05, 0xF7}));
  EXPECT_TRUE(card.TakeMessages().empty());
  panel.OnPanic();
  EXPECT_EQ(midi.log.back(), "reset");
  EXPECT_EQ(panel.TakeOutputFaultReport().stringId, 0);

  midi.donePauses = -1;
  messages.SendMasterVolume(9);
  EXPECT_EQ(panel.TakeOutputFaultReport().stringId, IDS_OUTPUT_NOT_TAKING);
  EXPECT_STREQ(chosen.DeviceName(), "USB MIDI");

  midi.openResult = MidiOutApi::kAllocated;
  chosen.Choose("USB MIDI");
  const OutputFaultReport report = panel.TakeOutputFaultReport();
  EXPECT_EQ(report.stringId, IDS_OUTPUT_NOT_OPENED);
  EXPECT_TRUE(report.fault.OfDevice()) << "the text names the device and the system's reason";
  EXPECT_STREQ(report.fault.device, "USB MIDI");
  EXPECT_EQ(report.fault.systemCode, MidiOutApi::kAllocated);
  chosen.Choose("Gone");
  EXPECT_EQ(panel.TakeOutputFaultReport().stringId, IDS_OUTPUT_MISSING);
  EXPECT_STREQ(chosen.DeviceName(), "Gone");

  chosen.Choose("");
  EXPECT_STREQ(chosen.DeviceName(), "");
  messages.SendMasterVolume(9);
  EXPECT_EQ(card.TakeMessages(), Messages{(Bytes{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x09, 0xF7})});
  EXPECT_EQ(std::count(midi.log.begin(), midi.log.end(), "close"), 1) << "the one device opened, let go once";
}
