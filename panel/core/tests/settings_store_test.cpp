// The settings table, and loading and saving the settings through a store.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/core/panel_settings.h"
#include "panel/core/settings_store.h"
#include "panel/core/tests/fake_settings_store.h"

namespace {

const std::vector<std::string> kStoredOrder = {"Port", "MVol", "MTrn", "MTun", "DTun", "Mute", "DCho", "DRev",
                                               "DPan", "DTrn", "DRat", "DBrt", "DVol", "CDep", "CRat", "CDel",
                                               "CFed", "CLev", "DFed", "DTim", "RDec", "RLev", "RTyp"};

// Where each stored name lives, written out independently of the table.
void* MemberOf(PanelSettings& s, const std::string& name) {
  if (name == "Port") return &s.Port;
  if (name == "MVol") return &s.MVol;
  if (name == "MTrn") return &s.MTrn;
  if (name == "MTun") return &s.MTun;
  if (name == "DTun") return &s.DTun;
  if (name == "Mute") return &s.Mute;
  if (name == "DCho") return &s.DigitalBlock[10];
  if (name == "DRev") return &s.DigitalBlock[9];
  if (name == "DPan") return &s.DigitalBlock[8];
  if (name == "DTrn") return &s.DigitalBlock[5];
  if (name == "DRat") return &s.DigitalBlock[4];
  if (name == "DBrt") return &s.DigitalBlock[3];
  if (name == "DVol") return &s.DigitalBlock[2];
  if (name == "RTyp") return &s.EffectsBlock[0];
  if (name == "RLev") return &s.EffectsBlock[1];
  if (name == "RDec") return &s.EffectsBlock[2];
  if (name == "DTim") return &s.EffectsBlock[3];
  if (name == "DFed") return &s.EffectsBlock[4];
  if (name == "CLev") return &s.EffectsBlock[5];
  if (name == "CFed") return &s.EffectsBlock[6];
  if (name == "CDel") return &s.EffectsBlock[7];
  if (name == "CRat") return &s.EffectsBlock[8];
  if (name == "CDep") return &s.EffectsBlock[9];
  return nullptr;
}

// Accepted stored range of each field (both ends inclusive).
struct Range {
  const char* name;
  uint32_t low;
  uint32_t high;
};
const Range kRanges[] = {
    {"MVol", 0, 127}, {"MTrn", 40, 88},  {"MTun", 0, 1999}, {"DTun", 0, 16383}, {"DCho", 0, 127},
    {"DRev", 0, 127}, {"DPan", 0, 127},  {"DTrn", 0, 127},  {"DRat", 0, 127},   {"DBrt", 0, 127},
    {"DVol", 0, 127}, {"CDep", 0, 127},  {"CRat", 0, 127},  {"CDel", 0, 127},   {"CFed", 0, 127},
    {"CLev", 0, 127}, {"DFed", 0, 127},  {"DTim", 0, 127},  {"RDec", 0, 127},   {"RLev", 0, 127},
    {"RTyp", 0, 7},
};

const SettingField& FieldNamed(const std::string& name) {
  for (const SettingField& f : kSettingFields) {
    if (name == f.name) return f;
  }
  ADD_FAILURE() << "no field " << name;
  return kSettingFields[0];
}

std::vector<std::string> Reads() {
  std::vector<std::string> out = {"open-read"};
  for (const auto& n : kStoredOrder) out.push_back("read " + n);
  out.push_back("close");
  return out;
}

std::vector<std::string> Writes() {
  std::vector<std::string> out = {"open-write"};
  for (const auto& n : kStoredOrder) out.push_back("write " + n);
  out.push_back("close");
  return out;
}

// Member by member: the record's padding bytes carry no value.
bool SameSettings(const PanelSettings& a, const PanelSettings& b) {
  return a.Port == b.Port && a.MVol == b.MVol && a.MTrn == b.MTrn && a.MTun == b.MTun && a.DTun == b.DTun &&
         a.Mute == b.Mute && std::memcmp(a.DigitalBlock, b.DigitalBlock, sizeof a.DigitalBlock) == 0 &&
         std::memcmp(a.EffectsBlock, b.EffectsBlock, sizeof a.EffectsBlock) == 0;
}

}  // namespace

TEST(SettingsTable, ListsTheTwentyThreeNamesInStoredOrderWithTheirWidths) {
  ASSERT_EQ(kSettingFieldCount, kStoredOrder.size());
  for (size_t i = 0; i < kSettingFieldCount; ++i) {
    EXPECT_EQ(kStoredOrder[i], kSettingFields[i].name);
    EXPECT_EQ(std::strlen(kSettingFields[i].name), 4u);
    const std::string name = kSettingFields[i].name;
    const uint8_t expected = name == "Port" ? 4 : (name == "MTun" || name == "DTun" || name == "Mute") ? 2 : 1;
    EXPECT_EQ(kSettingFields[i].width, expected) << name;
  }
}

TEST(SettingsTable, EachFieldWritesOnlyItsOwnMember) {
  for (const auto& name : kStoredOrder) {
    const SettingField& field = FieldNamed(name);
    PanelSettings before;
    PanelSettings after;
    WriteField(after, field, 0x5A5A5A5A);
    PanelSettings expected;
    std::memset(MemberOf(expected, name), 0x5A, field.width);
    EXPECT_TRUE(SameSettings(after, expected)) << name;
    EXPECT_EQ(ReadField(after, field), field.width == 4 ? 0x5A5A5A5Au : field.width == 2 ? 0x5A5Au : 0x5Au) << name;
    EXPECT_NE(ReadField(before, field), ReadField(after, field)) << name;
  }
}

TEST(SettingsTable, DefaultsAreTheFirstRunValues) {
  const PanelSettings s;
  EXPECT_EQ(s.Port, 0x330u);
  EXPECT_EQ(s.MVol, 127);
  EXPECT_EQ(s.MTrn, 64);
  EXPECT_EQ(s.MTun, 1000);
  EXPECT_EQ(s.DTun, 0x2000);
  EXPECT_EQ(s.Mute, 0xFFFF);
  const uint8_t digital[9] = {127, 127, 2, 0, 0, 0, 64, 100, 0};  // +6/+7: the tune is DTun
  EXPECT_EQ(std::memcmp(s.DigitalBlock + 2, digital, 9), 0);
  const uint8_t effects[10] = {4, 64, 64, 64, 0, 64, 19, 19, 3, 19};
  EXPECT_EQ(std::memcmp(s.EffectsBlock, effects, 10), 0);
}

TEST(LoadSettings, FirstRunKeepsEveryDefaultAndReadsNothing) {
  FakeSettingsStore store;
  store.exists = false;
  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_TRUE(SameSettings(s, PanelSettings{}));
  EXPECT_EQ(store.calls, std::vector<std::string>{"open-read"});
}

TEST(LoadSettings, ReadsEveryNameInOrderAndAssignsWhatIsThere) {
  FakeSettingsStore store;
  uint32_t v = 1;
  for (const auto& name : kStoredOrder) {
    const SettingField& field = FieldNamed(name);
    store.values[name] = name == "Port" ? 0x300 : field.minValue + (v++ % 7);
  }
  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(store.calls, Reads());
  for (const auto& name : kStoredOrder) EXPECT_EQ(ReadField(s, FieldNamed(name)), store.values[name]) << name;
}

TEST(LoadSettings, MissingOrUnreadableValueKeepsItsDefaultWhileOthersLoad) {
  FakeSettingsStore store;
  store.values = {{"MVol", 10}, {"RLev", 20}, {"CDep", 30}};
  store.unreadable = {"RLev"};
  PanelSettings s;
  LoadSettings(s, store);
  PanelSettings expected;
  expected.MVol = 10;
  expected.EffectsBlock[kChorusDepth] = 30;
  EXPECT_TRUE(SameSettings(s, expected));
  EXPECT_EQ(store.calls, Reads());
}

TEST(LoadSettings, ValuesAtBothEndsOfTheirRangeLoad) {
  for (const Range& r : kRanges) {
    for (uint32_t value : {r.low, r.high}) {
      FakeSettingsStore store;
      store.values[r.name] = value;
      PanelSettings s;
      LoadSettings(s, store);
      EXPECT_EQ(ReadField(s, FieldNamed(r.name)), value) << r.name;
    }
  }
}

// An out-of-range value would reach the card as a byte of 80h or more inside a message (or
// as no reverb type at all); it is treated like a missing value.
TEST(LoadSettings, ValueOutsideItsRangeKeepsTheDefault) {
  for (const Range& r : kRanges) {
    std::vector<uint32_t> bad = {r.high + 1, 0x10000u | r.low, 0x80000000u | r.low, 0xFFFFFFFFu};
    if (r.high <= 0xFF) bad.push_back(0x100u | r.low);  // high bytes set above a byte value
    if (r.low > 0) bad.push_back(r.low - 1);
    for (uint32_t value : bad) {
      FakeSettingsStore store;
      store.values[r.name] = value;
      PanelSettings s;
      LoadSettings(s, store);
      EXPECT_TRUE(SameSettings(s, PanelSettings{})) << r.name << " = " << value;
    }
  }
}

TEST(LoadSettings, PortLoadsAsAFull32BitValue) {
  FakeSettingsStore store;
  store.values["Port"] = 0xDEAD0300;
  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.Port, 0xDEAD0300u);

  SaveSettings(s, store);
  EXPECT_EQ(store.values["Port"], 0xDEAD0300u);
}

TEST(LoadSettings, MuteLoadsAsWrittenTakingTheLowWord) {
  // Every bit pattern is a valid channel state, so Mute is not range-checked: like the other
  // word fields it takes the low 16 bits of the stored value.
  for (uint32_t value : {0u, 0x8001u, 0xFFFFu}) {
    FakeSettingsStore store;
    store.values["Mute"] = value;
    PanelSettings s;
    LoadSettings(s, store);
    EXPECT_EQ(s.Mute, value);
  }
  FakeSettingsStore store;
  store.values["Mute"] = 0x1ABCD;
  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.Mute, 0xABCD);
}

TEST(LoadSettings, MuteZeroIsWrittenBackAsZero) {
  FakeSettingsStore store;
  store.values["Mute"] = 0;
  PanelSettings s;
  LoadSettings(s, store);
  store.values.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.values.at("Mute"), 0u);
}

TEST(LoadSettings, LoadedDigitalTuneGoesOutAsItsTwoHalves) {
  FakeSettingsStore store;
  store.values["DTun"] = 0x3FFF;
  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.DTun, 0x3FFF);
  uint8_t halves[kDigitalTuneDataCount];
  DigitalTuneData(s.DTun, halves);
  EXPECT_EQ(halves[0], 0x7F);
  EXPECT_EQ(halves[1], 0x7F);
}

TEST(SaveSettings, FirstExitCreatesAllTwentyThreeValuesInOrder) {
  FakeSettingsStore store;
  store.exists = false;
  PanelSettings s;
  LoadSettings(s, store);
  store.calls.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.calls, Writes());
  ASSERT_EQ(store.values.size(), 23u);
  EXPECT_EQ(store.values["Port"], 0x330u);
  EXPECT_EQ(store.values["DTun"], 0x2000u);
  EXPECT_EQ(store.values["Mute"], 0xFFFFu);
  EXPECT_EQ(store.values["DTrn"], 0u);
  EXPECT_EQ(store.values["RTyp"], 4u);
  EXPECT_EQ(store.values["CRat"], 3u);
}

TEST(SaveSettings, NothingIsWrittenWhenTheStoreCannotBeCreated) {
  FakeSettingsStore store;
  store.canCreate = false;
  SaveSettings(PanelSettings{}, store);
  EXPECT_EQ(store.calls, std::vector<std::string>{"open-write"});
  EXPECT_TRUE(store.values.empty());
}

TEST(SaveSettings, WhatIsSavedLoadsBackUnchanged) {
  PanelSettings s;
  s.Port = 0x220;
  s.MVol = 0;
  s.MTrn = 88;
  s.MTun = 1999;
  s.DTun = 0;
  s.DigitalBlock[kDigitalTuneMsb] = 0;
  s.DigitalBlock[kDigitalTuneLsb] = 0;
  s.Mute = 0x1234;
  for (int i = 2; i <= 10; ++i) {
    if (i != kDigitalTuneMsb && i != kDigitalTuneLsb) s.DigitalBlock[i] = static_cast<uint8_t>(100 + i);
  }
  for (int i = 1; i < 10; ++i) s.EffectsBlock[i] = static_cast<uint8_t>(i * 11);
  s.EffectsBlock[kReverbType] = 7;
  FakeSettingsStore store;
  SaveSettings(s, store);
  PanelSettings loaded;
  LoadSettings(loaded, store);
  EXPECT_TRUE(SameSettings(loaded, s));
}

// The chosen way to the card (MOut) is kept beside the 23 settings: read and written after them
// in the same opening of the store, and empty when none is stored or it does not fit.
TEST(OutputChoice, IsReadAndWrittenAfterTheTwentyThreeSettings) {
  FakeSettingsStore store;
  char name[kOutputNameCapacity] = "stale";
  PanelSettings s;
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "");
  std::vector<std::string> expected = Reads();
  expected.insert(expected.end() - 1, "read-text MOut");
  EXPECT_EQ(store.calls, expected);

  store.calls.clear();
  SaveSettings(s, store, "USB MIDI");
  expected = Writes();
  expected.insert(expected.end() - 1, "write-text MOut");
  EXPECT_EQ(store.calls, expected);
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "USB MIDI");

  store.texts["MOut"] = std::string(kOutputNameCapacity, 'x');
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "");
  store.exists = false;
  strcpy(name, "stale");
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "");
}
