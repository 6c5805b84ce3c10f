// The exported image: byte for byte with the defaults, where each setting lands, that every event
// is well formed, and that the card sees nothing of an export but everything after it.
#include "panel/files/midi_image.h"

#include <gtest/gtest.h>

#include "panel/files/tests/export_bench.h"

namespace {

// The whole file for the default settings, target Stereo, written out by hand from the format.
const char kDefaultImage[] =
    "4D 54 68 64 00 00 00 06 00 00 00 01 00 60"              // MThd, format 0, 1 track, 96
    "4D 54 72 6B 00 00 01 18"                                // MTrk, 280 bytes
    "00 FF 51 03 07 A1 20"                                   // tempo 500000
    "00 F0 13 41 10 56 12 00 00 00 04 40 40 40 00 40 13 13 03 13 40 F7"
    "08 F0 0A 41 10 56 12 01 0F 00 0F 61 F7"                 // channel 16
    "08 F0 0A 41 10 56 12 01 0E 00 0E 63 F7"
    "08 F0 0A 41 10 56 12 01 0D 00 0D 65 F7"
    "08 F0 0A 41 10 56 12 01 0C 00 0C 67 F7"
    "08 F0 0A 41 10 56 12 01 0B 00 0B 69 F7"
    "08 F0 0A 41 10 56 12 01 0A 00 0A 6B F7"                 // channel 11
    "08 F0 0A 41 10 56 12 01 00 00 09 76 F7"                 // channel 10: part 0
    "08 F0 0A 41 10 56 12 01 09 00 08 6E F7"
    "08 F0 0A 41 10 56 12 01 08 00 07 70 F7"
    "08 F0 0A 41 10 56 12 01 07 00 06 72 F7"
    "08 F0 0A 41 10 56 12 01 06 00 05 74 F7"
    "08 F0 0A 41 10 56 12 01 05 00 04 76 F7"
    "08 F0 0A 41 10 56 12 01 04 00 03 78 F7"
    "08 F0 0A 41 10 56 12 01 03 00 02 7A F7"
    "08 F0 0A 41 10 56 12 01 02 00 01 7C F7"
    "08 F0 0A 41 10 56 12 01 01 00 00 7E F7"                 // channel 1
    "08 F0 0F 41 10 42 12 40 00 00 00 04 00 00 7F 40 7D F7"
    "08 F0 12 41 10 56 12 03 00 02 7F 7F 02 00 40 00 40 64 00 17 F7"
    "00 FF 2F 00";

constexpr size_t kEffectsEvent = 1, kFirstChannelEvent = 2, kMasterEvent = 18, kDigitalEvent = 19;

// Reads an image with the test's own reader; fails the test when it is not well formed or not of
// the exported shape.
SmfFile Read(const Bytes& image) {
  SmfFile file;
  EXPECT_EQ(CheckExportedShape(image, &file), "") << Hex(image);
  if (file.events.size() != 21) file.events.resize(21);
  return file;
}

Bytes Prefix(const Bytes& bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)); }

TEST(MidiImage, DefaultsGiveTheWholeFileByteForByte) {
  ExportBench bench;
  bench.Open();
  int result = -1;
  const Bytes image = bench.Build(&result);
  EXPECT_EQ(result, kImageBuilt);
  EXPECT_EQ(Hex(image), Hex(ParseHex(kDefaultImage)));
  EXPECT_EQ(image.size(), 302u);
  Read(image);
}

TEST(MidiImage, ImageHoldsTheFileSizeAndTheCardIsStillLive) {
  ExportBench bench;
  bench.Open();
  ExportInput input = bench.Input();
  MidiImage image;
  ASSERT_EQ(BuildImage(input, bench.memory, &image), kImageBuilt);
  EXPECT_EQ(image.size, 302u);
  EXPECT_NE(image.block, nullptr);  // left for the caller to write and release
  EXPECT_EQ(bench.memory.lastSize, kImageBufferSize);
  bench.memory.Release(image.block);

  bench.messages.SendMasterVolume(5);
  EXPECT_EQ(Hex(bench.CardBytes()), "F0 7F 7F 04 01 7F 05 F7");
}

TEST(MidiImage, CardSeesNothingDuringTheExportAndTheNextSliderMoveAfterIt) {
  ExportBench bench;
  bench.Open();
  const size_t portEvents = bench.card.EventCount();
  bench.Build();
  EXPECT_EQ(bench.card.EventCount(), portEvents);
  EXPECT_TRUE(bench.CardBytes().empty());

  bench.messages.SendDigital(kDigitalReverb, 90);
  EXPECT_EQ(Hex(bench.CardBytes()), "F0 41 10 56 12 03 00 09 5A 1A F7");
}

TEST(MidiImage, TwoExportsAreIdentical) {
  ExportBench bench;
  bench.settings.Mute = 0x5A3C;
  bench.settings.EffectsBlock[kChorusRate] = 77;
  bench.Open();
  const Bytes first = bench.Build();
  const Bytes second = bench.Build();
  EXPECT_EQ(first, second);
  EXPECT_EQ(bench.memory.obtained, 2);
  EXPECT_EQ(bench.memory.released, 2);
}

TEST(MidiImage, TargetSelectsTheDigitalAddress) {
  struct Case {
    DigitalTarget target;
    const char* start;
  } cases[] = {{DigitalTarget::Stereo, "41 10 56 12 03 00 02"},
               {DigitalTarget::Left, "41 10 56 12 02 00 02"},
               {DigitalTarget::Right, "41 10 56 12 02 00 0C"}};
  for (const Case& c : cases) {
    ExportBench bench;
    bench.Open();
    bench.target = c.target;
    const SmfFile file = Read(bench.Build());
    EXPECT_EQ(Hex(Prefix(file.events[kDigitalEvent].data, 7)), c.start) << static_cast<int>(c.target);
    EXPECT_EQ(bench.messages.Target(), DigitalTarget::Stereo) << "the panel's own target stays";
  }
}

TEST(MidiImage, ChannelsCarryTheirStoredStateAndMuteIsUnchanged) {
  for (uint16_t mute : {uint16_t{0x0000}, uint16_t{0xFFFF}, uint16_t{0x8001}, uint16_t{0x0200}, uint16_t{0x5A3C}}) {
    ExportBench bench;
    bench.settings.Mute = mute;
    bench.Open();
    const SmfFile file = Read(bench.Build());
    EXPECT_EQ(bench.settings.Mute, mute);
    for (int n = 15; n >= 0; --n) {
      const Bytes& data = file.events[kFirstChannelEvent + static_cast<size_t>(15 - n)].data;
      const uint8_t part = n < 9 ? static_cast<uint8_t>(n + 1) : n == 9 ? 0 : static_cast<uint8_t>(n);
      const uint8_t receive = ((mute >> n) & 1) ? static_cast<uint8_t>(n) : 0x10;
      EXPECT_EQ(Hex(Prefix(data, 8)), Hex(Bytes{0x41, 0x10, 0x56, 0x12, 0x01, part, 0x00, receive}))
          << "mute " << mute << " channel index " << n;
    }
  }
}

// Every setting lands in its place.
TEST(MidiImage, NonDefaultSettingsLandInTheirBlocks) {
  ExportBench bench;
  bench.settings.MVol = 100;
  bench.settings.MTrn = 40;
  bench.settings.MTun = 0;
  bench.settings.EffectsBlock[kReverbType] = 6;
  for (int k = 1; k <= 9; ++k) bench.settings.EffectsBlock[k] = static_cast<uint8_t>(10 * k);
  bench.settings.DigitalBlock[kDigitalVolume] = 99;
  bench.settings.DigitalBlock[kDigitalBrightness] = 6;
  bench.settings.DigitalBlock[kDigitalRate] = 1;
  bench.settings.DigitalBlock[kDigitalTranspose] = 70;
  bench.settings.DTun = 16383;
  bench.settings.DigitalBlock[kDigitalPan] = 0;
  bench.settings.DigitalBlock[kDigitalReverb] = 127;
  bench.settings.DigitalBlock[kDigitalChorus] = 33;
  bench.Open();

  const SmfFile file = Read(bench.Build());
  // Checksums are checked by Read; here the bytes before them.
  EXPECT_EQ(Hex(Prefix(file.events[kEffectsEvent].data, 17)),
            Hex(Bytes{0x41, 0x10, 0x56, 0x12, 0, 0, 0, 6, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
  // Tune 0 is 18h: nibbles 0 0 1 8; then volume and key shift.
  EXPECT_EQ(Hex(Prefix(file.events[kMasterEvent].data, 13)),
            Hex(Bytes{0x41, 0x10, 0x42, 0x12, 0x40, 0, 0, 0, 0, 1, 8, 100, 40}));
  EXPECT_EQ(Hex(Prefix(file.events[kDigitalEvent].data, 16)),
            Hex(Bytes{0x41, 0x10, 0x56, 0x12, 3, 0, 2, 99, 6, 1, 70, 0x7F, 0x7F, 0, 127, 33}));
  EXPECT_TRUE(bench.CardBytes().empty());
}

// The export reads a copy of the settings: nothing of them changes, whatever it saves.
TEST(MidiImage, SettingsStayAsTheyWere) {
  ExportBench bench;
  bench.settings.Mute = 0x00FF;
  bench.settings.DTun = 5;
  bench.Open();
  const PanelSettings before = bench.settings;
  bench.Build();
  for (const SettingField& field : kSettingFields) {
    EXPECT_EQ(ReadField(bench.settings, field), ReadField(before, field)) << field.name;
  }
}

// Values beyond seven bits never reach a saved message as status bytes, and sums past 255 still
// give the checksum the card expects.
TEST(MidiImage, LargeValuesStayDataBytesWithTheRightChecksums) {
  ExportBench bench;
  for (int k = 1; k <= 9; ++k) bench.settings.EffectsBlock[k] = 0xFF;
  for (uint8_t& value : bench.settings.DigitalBlock) value = 0xFF;
  bench.settings.MVol = 0xFF;
  bench.Open();
  const SmfFile file = Read(bench.Build());
  EXPECT_EQ(file.events[kEffectsEvent].data[8], 0x7F);
  EXPECT_EQ(file.events[kDigitalEvent].data[7], 0x7F);
}

TEST(MidiImage, NoMemoryLeavesEverythingAsItWas) {
  ExportBench bench;
  bench.settings.Mute = 0x1234;
  bench.Open();
  bench.memory.refuse = true;
  const PanelSettings before = bench.settings;
  const size_t portEvents = bench.card.EventCount();
  int result = -1;
  EXPECT_TRUE(bench.Build(&result).empty());
  EXPECT_EQ(result, kImageNoMemory);
  EXPECT_EQ(bench.memory.obtained, 0);
  EXPECT_EQ(bench.settings.Mute, before.Mute);
  EXPECT_EQ(bench.settings.MTun, before.MTun);
  EXPECT_EQ(bench.card.EventCount(), portEvents);

  // Still live: the next change reaches the card.
  bench.messages.ToggleChannel(0);
  EXPECT_EQ(bench.CardBytes().size(), 11u);
}

}  // namespace
