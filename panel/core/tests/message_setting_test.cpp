// What a data set can set: each kind of setting at the ends of what the panel's controls show,
// and just past them, where nothing is read.
#include "panel/core/message_setting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr auto kStereo = DigitalTarget::Stereo;
constexpr auto kLeft = DigitalTarget::Left;
constexpr auto kRight = DigitalTarget::Right;
constexpr MessageSetting kNone = {};

struct Row {
  const char* what;
  uint8_t model;
  DataSetAddress address;
  std::vector<uint8_t> data;
  MessageSetting expected;  // kNone: no setting the panel can show
};

}  // namespace

TEST(MessageSetting, EachKindWithinAndJustOutsideWhatTheControlsShow) {
  const Row rows[] = {
      {"master tune 0", 0x42, {0x40, 0x00, 0x00}, {0, 0, 1, 8}, {Setting::MasterTune, 0, kStereo, 0, 4}},
      {"master tune 1999", 0x42, {0x40, 0x00, 0x00}, {0, 7, 0x0E, 7}, {Setting::MasterTune, 0, kStereo, 1999, 4}},
      {"master tune, then more", 0x42, {0x40, 0x00, 0x00}, {0, 4, 0, 0, 0x7F, 0x40},
       {Setting::MasterTune, 0, kStereo, 1000, 4}},
      {"master tune 2000", 0x42, {0x40, 0x00, 0x00}, {0, 7, 0x0E, 8}, kNone},
      {"master tune -1", 0x42, {0x40, 0x00, 0x00}, {0, 0, 1, 7}, kNone},
      {"a nibble of five bits", 0x42, {0x40, 0x00, 0x00}, {0, 4, 0x10, 0}, kNone},
      {"three nibbles", 0x42, {0x40, 0x00, 0x00}, {0, 4, 0}, kNone},
      {"master volume 127", 0x42, {0x40, 0x00, 0x04}, {0x7F}, {Setting::MasterVolume, 0, kStereo, 127, 1}},
      {"key shift -24", 0x42, {0x40, 0x00, 0x05}, {40}, {Setting::MasterKeyShift, 0, kStereo, 40, 1}},
      {"key shift +24", 0x42, {0x40, 0x00, 0x05}, {88}, {Setting::MasterKeyShift, 0, kStereo, 88, 1}},
      {"key shift -25", 0x42, {0x40, 0x00, 0x05}, {39}, kNone},
      {"key shift +25", 0x42, {0x40, 0x00, 0x05}, {89}, kNone},
      {"past the key shift", 0x42, {0x40, 0x00, 0x06}, {64}, kNone},
      {"reverb type Pan Delay", 0x56, {0x00, 0x00, 0x00}, {7}, {Setting::Effect, 0, kStereo, 7, 1}},
      {"a ninth reverb type", 0x56, {0x00, 0x00, 0x00}, {8}, kNone},
      {"chorus depth 0", 0x56, {0x00, 0x00, 0x09}, {0}, {Setting::Effect, 9, kStereo, 0, 1}},
      {"past the chorus depth", 0x56, {0x00, 0x00, 0x0A}, {0}, kNone},
      {"channel 1 on", 0x56, {0x01, 0x01, 0x00}, {0}, {Setting::ChannelReceive, 0, kStereo, 1, 1}},
      {"channel 1 off", 0x56, {0x01, 0x01, 0x00}, {0x10}, {Setting::ChannelReceive, 0, kStereo, 0, 1}},
      {"channel 1 on channel 2", 0x56, {0x01, 0x01, 0x00}, {1}, kNone},
      {"channel 1 on channel 18", 0x56, {0x01, 0x01, 0x00}, {0x11}, kNone},
      {"channel 10 on", 0x56, {0x01, 0x00, 0x00}, {9}, {Setting::ChannelReceive, 9, kStereo, 1, 1}},
      {"channel 16 on", 0x56, {0x01, 0x0F, 0x00}, {0x0F}, {Setting::ChannelReceive, 15, kStereo, 1, 1}},
      {"a seventeenth part", 0x56, {0x01, 0x10, 0x00}, {0x10}, kNone},
      {"digital volume", 0x56, {0x03, 0x00, 0x02}, {0x7F}, {Setting::Digital, 2, kStereo, 127, 1}},
      {"before the digital volume", 0x56, {0x03, 0x00, 0x01}, {0x7F}, kNone},
      {"digital chorus", 0x56, {0x02, 0x00, 0x0A}, {5}, {Setting::Digital, 10, kLeft, 5, 1}},
      {"between left and right", 0x56, {0x02, 0x00, 0x0B}, {5}, kNone},
      {"tune, upper half", 0x56, {0x02, 0x00, 0x10}, {0x7F, 0}, {Setting::Digital, 6, kRight, 127, 1}},
      {"tune, lower half", 0x56, {0x02, 0x00, 0x11}, {0x7F}, {Setting::Digital, 7, kRight, 127, 1}},
      {"digital chorus, right", 0x56, {0x02, 0x00, 0x14}, {0}, {Setting::Digital, 10, kRight, 0, 1}},
      {"past the digital chorus", 0x56, {0x02, 0x00, 0x15}, {0}, kNone},
      {"key shift of the card's model", 0x56, {0x40, 0x00, 0x05}, {64}, kNone},
      {"reverb level of the GS model", 0x42, {0x00, 0x00, 0x01}, {64}, kNone},
      {"another model", 0x43, {0x00, 0x00, 0x01}, {64}, kNone},
  };
  for (const Row& row : rows) {
    MessageSetting read = {};
    const bool shown = ReadMessageSetting(row.model, row.address, row.data.data(), row.data.size(), &read);
    ASSERT_EQ(shown, row.expected.length != 0) << row.what;
    if (!shown) continue;
    EXPECT_EQ(read.setting, row.expected.setting) << row.what;
    EXPECT_EQ(read.index, row.expected.index) << row.what;
    EXPECT_EQ(read.target, row.expected.target) << row.what;
    EXPECT_EQ(read.value, row.expected.value) << row.what;
    EXPECT_EQ(read.length, row.expected.length) << row.what;
  }
}
