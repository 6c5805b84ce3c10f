// The registry store on a real (Wine) registry: each run has a prefix of its own, and every test
// starts without the panel's key.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "panel/core/registry_settings_store_win32.h"

namespace {

const char kKey[] = "Software\\Tambrel";

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

  static void Put(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void PutDword(const char* name, DWORD value) { Put(name, REG_DWORD, &value, sizeof value); }

  static bool KeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

}  // namespace

TEST_F(RegistryStore, MissingKeyChangesNothingAndCreatesNothing) {
  RegistrySettingsStore store;
  EXPECT_FALSE(store.OpenForRead());
  PanelSettings s;
  s.MVol = 33;
  LoadSettings(s, store);
  EXPECT_EQ(s.MVol, 33);
  EXPECT_EQ(s.Port, 0x330u);
  EXPECT_FALSE(KeyExists());
}

TEST_F(RegistryStore, SaveCreatesTheKeyWithItsClassAndTwentyThreeDwords) {
  PanelSettings s;
  s.Port = 0xCAFE0330;
  s.Mute = 0;
  s.EffectsBlock[kReverbType] = 7;
  RegistrySettingsStore store;
  SaveSettings(s, store);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  char keyClass[64] = {};
  DWORD classLength = sizeof keyClass;
  DWORD valueCount = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(keyClass, "Tambrel");
  EXPECT_EQ(valueCount, 23u);
  for (const SettingField& field : kSettingFields) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, field.name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size), ERROR_SUCCESS)
        << field.name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << field.name;
    EXPECT_EQ(size, 4u) << field.name;
    EXPECT_EQ(data, ReadField(s, field)) << field.name;
  }
  RegCloseKey(key);
}

TEST_F(RegistryStore, SavedSettingsLoadBack) {
  PanelSettings saved;
  saved.Port = 0x80000300;
  saved.MVol = 0;
  saved.MTun = 1999;
  saved.Mute = 0x0F0F;
  saved.DigitalBlock[kDigitalTranspose] = 127;
  saved.EffectsBlock[kChorusDepth] = 1;
  RegistrySettingsStore writer;
  SaveSettings(saved, writer);

  PanelSettings loaded;
  RegistrySettingsStore reader;
  LoadSettings(loaded, reader);
  for (const SettingField& field : kSettingFields) EXPECT_EQ(ReadField(loaded, field), ReadField(saved, field)) << field.name;
}

TEST_F(RegistryStore, ShortValuesReadZeroExtendedWhateverTheirType) {
  const BYTE two[2] = {0x20, 0x02};
  const BYTE one[1] = {0x05};
  const BYTE three[3] = {0x01, 0x02, 0x03};
  Put("Port", REG_BINARY, two, sizeof two);
  Put("MVol", REG_BINARY, one, sizeof one);
  Put("Mute", REG_BINARY, three, sizeof three);  // 030201h: Mute takes the low word
  PutDword("CDep", 0);

  RegistrySettingsStore store;
  ASSERT_TRUE(store.OpenForRead());
  uint32_t value = 0xFFFFFFFF;
  ASSERT_TRUE(store.Read("Port", &value));
  EXPECT_EQ(value, 0x220u);
  ASSERT_TRUE(store.Read("Mute", &value));
  EXPECT_EQ(value, 0x030201u);
  store.Close();

  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.Port, 0x220u);
  EXPECT_EQ(s.MVol, 5);
  EXPECT_EQ(s.Mute, 0x0201);
  EXPECT_EQ(s.EffectsBlock[kChorusDepth], 0);
}

TEST_F(RegistryStore, LongerValuesFailAndKeepTheField) {
  const unsigned long long wide = 7;
  Put("MVol", REG_QWORD, &wide, sizeof wide);
  Put("DRev", REG_SZ, "1234567", 8);
  PutDword("CLev", 9);

  RegistrySettingsStore store;
  ASSERT_TRUE(store.OpenForRead());
  uint32_t value = 0;
  EXPECT_FALSE(store.Read("MVol", &value));
  EXPECT_FALSE(store.Read("Absent", &value));
  store.Close();

  PanelSettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.MVol, 127);
  EXPECT_EQ(s.DigitalBlock[kDigitalReverb], 100);
  EXPECT_EQ(s.EffectsBlock[kChorusLevel], 9);
}

TEST_F(RegistryStore, MissingValuesKeepTheirDefaultsWhileOthersLoad) {
  PutDword("DTrn", 64);
  PutDword("RTyp", 6);
  PanelSettings s;
  RegistrySettingsStore store;
  LoadSettings(s, store);
  PanelSettings expected;
  expected.DigitalBlock[kDigitalTranspose] = 64;
  expected.EffectsBlock[kReverbType] = 6;
  for (const SettingField& field : kSettingFields) EXPECT_EQ(ReadField(s, field), ReadField(expected, field)) << field.name;
}

TEST_F(RegistryStore, SavingOverAnExistingKeyReplacesEveryValue) {
  const BYTE odd[2] = {1, 2};
  Put("MVol", REG_BINARY, odd, sizeof odd);
  PanelSettings s;
  s.MVol = 44;
  RegistrySettingsStore store;
  SaveSettings(s, store);
  RegistrySettingsStore reader;
  ASSERT_TRUE(reader.OpenForRead());
  uint32_t value = 0;
  ASSERT_TRUE(reader.Read("MVol", &value));
  EXPECT_EQ(value, 44u);
}

TEST_F(RegistryStore, TheChosenOutputIsAStringThatOnlyAStringOfItsSizeLoads) {
  RegistrySettingsStore store;
  SaveSettings(PanelSettings{}, store, "Stand-in MIDI 2");
  char name[kOutputNameCapacity] = {};
  PanelSettings s;
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "Stand-in MIDI 2");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "MOut", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 16u);

  PutDword("MOut", 0x41);
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "") << "another type";
  const std::string tooLong(kOutputNameCapacity, 'x');
  Put("MOut", REG_SZ, tooLong.c_str(), static_cast<DWORD>(tooLong.size() + 1));
  LoadSettings(s, store, name);
  EXPECT_STREQ(name, "");
}
