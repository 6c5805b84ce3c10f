// Settings read back from files: what "Save &MIDI" writes (as a MIDI file and as a dump) gives the
// settings it saved; a MIDI file made elsewhere gives what it holds of the panel's messages, with
// everything else passed over; a damaged file is told by its fault.
#include "panel/files/sysex_file_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "panel/core/settings_from_messages.h"
#include "panel/files/midi_export.h"
#include "panel/files/settings_file.h"
#include "panel/files/tests/export_bench.h"

namespace {

PanelSettings Varied() {
  PanelSettings s;
  s.MVol = 3;
  s.MTrn = 88;
  s.MTun = 1999;
  s.DTun = 0x1234;
  s.Mute = 0xA50F;
  for (int k = 0; k < 10; ++k) s.EffectsBlock[k] = static_cast<uint8_t>(k == 0 ? 6 : 100 + k);
  for (int o = 2; o <= 10; ++o) s.DigitalBlock[o] = IsDigitalTuneHalf(o) ? 0 : static_cast<uint8_t>(o * 11);
  return s;
}

void ExpectSameSettings(const PanelSettings& read, const PanelSettings& saved, const std::string& what) {
  for (const SettingField& field : kSettingFields) {
    EXPECT_EQ(ReadField(read, field), ReadField(saved, field)) << what << " " << field.name;
  }
}

SettingsFromMessages ReadInto(const Bytes& file, FileFault* fault) {
  SettingsFromMessages reader{PanelSettings{}};
  *fault = ReadSysExFile(file.data(), file.size(), reader);
  return reader;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Chunk(const char* id, const Bytes& body) {
  const uint32_t n = static_cast<uint32_t>(body.size());
  return Cat({Bytes(id, id + 4), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)}, body});
}

Bytes Header(uint16_t format, uint16_t tracks) {
  return Chunk("MThd", {0, uint8_t(format), 0, uint8_t(tracks), 0, 96});
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};
// Reverb level 64 and the digital chorus (Stereo) 33, as the panel sends them.
const Bytes kLevel = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7};
const Bytes kChorus = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x0A, 0x21, 0x52, 0xF7};

}  // namespace

TEST(SettingsFile, WhatIsSavedReadsBackAsTheSameSettingsInBothForms) {
  for (SavedForm form : {SavedForm::MidiFile, SavedForm::Dump}) {
    for (DigitalTarget target : {DigitalTarget::Stereo, DigitalTarget::Left, DigitalTarget::Right}) {
      ExportBench bench;
      bench.settings = Varied();
      bench.target = target;
      MidiImage image;
      ASSERT_EQ(BuildImage(bench.Input(), bench.memory, &image, form), kImageBuilt);
      const Bytes file(image.block, image.block + image.size);
      bench.memory.Release(image.block);

      FileFault fault = FileFault::UnknownForm;
      const SettingsFromMessages read = ReadInto(file, &fault);
      const std::string what = std::string(form == SavedForm::Dump ? "dump " : "file ") + DigitalTargetName(target);
      EXPECT_EQ(fault, FileFault::None) << what;
      EXPECT_EQ(read.Found(), 10u + 16u + 3u + 9u) << what;  // the tune's nibbles count once
      PanelSettings expected = Varied();
      expected.Port = read.Settings().Port;
      ExpectSameSettings(read.Settings(), expected, what);
    }
  }
}

// A format-1 file from a sequencer: running status, notes, meta events, another maker's message,
// an escaped real-time byte and a panel message split into three packets.
TEST(SettingsFile, MidiFileFromElsewhereGivesThePanelsMessagesOnly) {
  const Bytes first = Cat({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},            // tempo
                           {0x00, 0x90, 0x3C, 0x64, 0x10, 0x3E, 0x64, 0x10, 0x3C, 0x00},  // notes, running status
                           {0x00, 0xF0, 0x06, 0x43, 0x10, 0x4C, 0x00, 0x00, 0xF7},       // another maker
                           {0x00, 0xC0, 0x05, 0x00, 0xB0, 0x07, 0x64},                   // program, controller
                           {0x00, 0xF0, 0x0A}, Bytes(kLevel.begin() + 1, kLevel.end()), kEnd});
  const Bytes second = Cat({{0x00, 0xF7, 0x01, 0xF8},                                   // escape: a clock
                            {0x00, 0xF0, 0x04, 0x41, 0x10, 0x56, 0x12},                 // chorus, in packets
                            {0x05, 0xF7, 0x03, 0x03, 0x00, 0x0A},
                            {0x05, 0xF7, 0x03, 0x21, 0x52, 0xF7},
                            {0x00, 0xFF, 0x06, 0x02, 'h', 'i'}, kEnd});
  const Bytes file = Cat({Header(1, 2), Chunk("MTrk", first), Chunk("XFIH", {1, 2, 3}), Chunk("MTrk", second)});
  FileFault fault = FileFault::UnknownForm;
  const SettingsFromMessages read = ReadInto(file, &fault);
  EXPECT_EQ(fault, FileFault::None);
  EXPECT_EQ(read.Found(), 2u);
  EXPECT_EQ(read.Settings().EffectsBlock[kReverbLevel], 64);
  EXPECT_EQ(read.Settings().DigitalBlock[kDigitalChorus], 33);
}

// Messages that are not the panel's, or that carry a value its controls cannot show, set nothing;
// the last of several values wins.
TEST(SettingsFile, ForeignBrokenAndOutOfRangeMessagesAreSkippedAndTheLastValueWins) {
  const Bytes skipped[] = {
      {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3E, 0xF7},  // wrong checksum
      {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7},  // another model
      {0xF0, 0x43, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7},  // another maker
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x05, 0x27, 0x14, 0xF7},  // key shift -25
      {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x00, 0x08, 0x78, 0xF7},  // a ninth reverb type
      {0xF0, 0x41, 0x10, 0x56, 0x12, 0x01, 0x01, 0x00, 0x05, 0x79, 0xF7},  // channel 1 on channel 6
      {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x00, 0x00, 0x07, 0x0E, 0x08, 0x23, 0xF7},  // tune 2000
      {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x10, 0x00, 0xF7},              // volume of the wrong length
  };
  for (const Bytes& message : skipped) {
    FileFault fault = FileFault::UnknownForm;
    EXPECT_EQ(ReadInto(message, &fault).Found(), 0u) << Hex(message);
    EXPECT_EQ(fault, FileFault::None);
  }
  const Bytes volumes = Cat({{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x10, 0xF7}, {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x20, 0xF7}});
  FileFault fault = FileFault::UnknownForm;
  EXPECT_EQ(ReadInto(volumes, &fault).Settings().MVol, 0x20);
}

TEST(SettingsFile, DamageIsToldByItsKind) {
  const Bytes levelEvent = Cat({{0x00, 0xF0, 0x0A}, Bytes(kLevel.begin() + 1, kLevel.end())});
  const Bytes track = Cat({levelEvent, kEnd});
  const struct {
    const char* what;
    Bytes file;
    FileFault fault;
  } cases[] = {
      {"empty", {}, FileFault::UnknownForm},
      {"text", {'h', 'e', 'l', 'l', 'o'}, FileFault::UnknownForm},
      {"header too short", Chunk("MThd", {0, 0, 0}), FileFault::UnknownForm},
      {"chunk past the end", Cat({Header(0, 1), {'M', 'T', 'r', 'k', 0, 0, 1, 0, 0x00}}), FileFault::ChunkPastEnd},
      {"chunk header cut", Cat({Header(0, 1), {'M', 'T', 'r'}}), FileFault::ChunkPastEnd},
      {"event past the track", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0xF0, 0x20, 0x41})}), FileFault::EventPastEnd},
      {"meta past the track", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0xFF, 0x01, 0x09, 'a'})}), FileFault::EventPastEnd},
      {"note cut", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0x90, 0x3C})}), FileFault::EventPastEnd},
      {"five-byte delta", Cat({Header(0, 1), Chunk("MTrk", {0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00})}),
       FileFault::LongQuantity},
      {"five-byte length", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0xF0, 0x81, 0x81, 0x81, 0x81, 0x01})}),
       FileFault::LongQuantity},
      {"split message never ended", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0xF0, 0x02, 0x41, 0x10, 0x00, 0xFF, 0x2F, 0x00})}),
       FileFault::Unterminated},
      {"new message inside one", Cat({Header(0, 1), Chunk("MTrk", Cat({{0x00, 0xF0, 0x01, 0x41}, levelEvent}))}),
       FileFault::Unterminated},
      {"data without status", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0x3C, 0x40})}), FileFault::NoStatus},
      {"song position", Cat({Header(0, 1), Chunk("MTrk", {0x00, 0xF2, 0x00, 0x00})}), FileFault::NoStatus},
      {"dump never ended", {0xF0, 0x41, 0x10, 0x56}, FileFault::Unterminated},
      {"status inside a dump message", {0xF0, 0x41, 0x90, 0xF7}, FileFault::Unterminated},
      {"bytes between dump messages", Cat({kLevel, {0x00}, kLevel}), FileFault::UnknownForm},
  };
  for (const auto& c : cases) {
    FileFault fault = FileFault::None;
    ReadInto(c.file, &fault);
    EXPECT_EQ(fault, c.fault) << c.what;
  }
  FileFault fault = FileFault::UnknownForm;
  EXPECT_EQ(ReadInto(Cat({Header(0, 1), Chunk("MTrk", track)}), &fault).Found(), 1u);
  EXPECT_EQ(fault, FileFault::None);
}

TEST(SettingsFile, DumpNamesEndInSyx) {
  for (const char* name : {"a.syx", "C:\\OUT\\STATE.SYX", "x.Syx"}) EXPECT_TRUE(NamesDump(name)) << name;
  for (const char* name : {"a.mid", "syx", "a.syx.mid", "a.sy"}) EXPECT_FALSE(NamesDump(name)) << name;

  char path[17] = "C:\\out\\state";
  EXPECT_TRUE(AddDumpExtension(path, sizeof path));
  EXPECT_STREQ(path, "C:\\out\\state.syx");
  char withExtension[16] = "C:\\o.d\\state.mi";
  EXPECT_FALSE(AddDumpExtension(withExtension, sizeof withExtension));
  char folderDot[20] = "C:\\o.d\\state";
  EXPECT_TRUE(AddDumpExtension(folderDot, sizeof folderDot));
  EXPECT_STREQ(folderDot, "C:\\o.d\\state.syx");
  char full[16] = "C:\\out\\statexx";
  EXPECT_FALSE(AddDumpExtension(full, sizeof full));
  EXPECT_STREQ(full, "C:\\out\\statexx");
}


TEST(SettingsFile, LoadTakesTheFilesSettingsOrChangesNothingAndSaysWhy) {
  PanelSettings current;
  current.MVol = 99;
  current.Port = 0x300;
  const struct {
    const char* what;
    Bytes contents;
    LoadOutcome outcome;
    FileFault fault;
  } cases[] = {
      {"loaded", kLevel, LoadOutcome::Loaded, FileFault::None},
      {"damaged", {0xF0, 0x41}, LoadOutcome::Damaged, FileFault::Unterminated},
      {"empty", {}, LoadOutcome::Damaged, FileFault::UnknownForm},
      {"no settings", {0xF0, 0x43, 0x10, 0xF7}, LoadOutcome::NoSettings, FileFault::None},
  };
  for (const auto& c : cases) {
    PanelSettings loaded;
    loaded.MVol = 7;
    const LoadResult result = TakeSettingsFromFile(c.contents.data(), c.contents.size(), current, &loaded);
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    EXPECT_EQ(result.fault, c.fault) << c.what;
    if (c.outcome == LoadOutcome::Loaded) {
      EXPECT_EQ(loaded.EffectsBlock[kReverbLevel], 64);
      EXPECT_EQ(loaded.MVol, 99) << "what the file does not set keeps its current value";
      EXPECT_EQ(loaded.Port, 0x300u);
    } else {
      EXPECT_EQ(loaded.MVol, 7) << c.what << ": nothing is taken from a file the panel cannot use";
    }
  }
}
