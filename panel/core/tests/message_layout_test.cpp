// The message layouts and their reading: each address, mapping and value coding as the card
// takes it, and each reading back the exact inverse of its writing, over the whole of its range.
#include "panel/core/message_layout.h"
#include "panel/core/message_reading.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes DataSet(uint8_t model, DataSetAddress address, Bytes data) {
  Bytes message(DataSetLength(data.size()));
  message.resize(WriteDataSet(model, address, data.data(), data.size(), message.data()));
  return message;
}

std::tuple<uint8_t, uint8_t, uint8_t> Tuple(DataSetAddress a) { return {a.high, a.middle, a.low}; }

}  // namespace

TEST(MessageLayout, FamiliesAndTheChecksumRule) {
  uint8_t volume[kMasterVolumeLength];
  WriteMasterVolume(0x64, volume);
  EXPECT_EQ(Bytes(volume, volume + sizeof volume), (Bytes{0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7}));

  EXPECT_EQ(DataSetChecksum(0x00), 0x00);
  EXPECT_EQ(DataSetChecksum(0x83), 0x7D);
  EXPECT_EQ(DataSetChecksum(0x80), 0x00);
  uint8_t tune[kLongestMessage];
  const uint8_t halves[2] = {0x7F, 0x7F};
  ASSERT_EQ(WriteDataSet(kCardModel, {0x02, 0x00, 0x10}, halves, 2, tune), 12u);
  EXPECT_EQ(DataSetSum(tune, 12), static_cast<uint8_t>(0x02 + 0x10 + 0x7F + 0x7F));  // wraps past 255
  EXPECT_EQ(Bytes(tune, tune + 12), (Bytes{0xF0, 0x41, 0x10, 0x56, 0x12, 0x02, 0x00, 0x10, 0x7F, 0x7F, 0x70, 0xF7}));
  EXPECT_EQ(kLongestMessage, 14u);
  // A stored value beyond seven bits never becomes a status byte inside the message.
  EXPECT_EQ(DataSet(kCardModel, EffectAddress(kReverbLevel), {0xC2}), DataSet(kCardModel, EffectAddress(kReverbLevel), {0x42}));
}

TEST(MessageLayout, ReadingADataSetFindsItsPartsAndRefusesOtherBytes) {
  const Bytes level = DataSet(kCardModel, EffectAddress(kReverbLevel), {0x40});
  DataSetView view{};
  ASSERT_TRUE(ReadDataSet(level.data(), level.size(), &view));
  EXPECT_EQ(view.model, kCardModel);
  EXPECT_EQ(Tuple(view.address), Tuple(DataSetAddress{0x00, 0x00, 0x01}));
  EXPECT_EQ(view.count, 1u);
  EXPECT_EQ(view.data[0], 0x40);
  EXPECT_EQ(view.checksum, 0x3F);
  EXPECT_EQ(view.expected, 0x3F);

  Bytes wrongSum = level;
  wrongSum[9] = 0x3E;
  ASSERT_TRUE(ReadDataSet(wrongSum.data(), wrongSum.size(), &view));
  EXPECT_EQ(view.checksum, 0x3E);
  EXPECT_EQ(view.expected, 0x3F);

  for (size_t at : {0u, 1u, 2u, 4u, 10u}) {
    Bytes other = level;
    other[at] ^= 0x01;
    EXPECT_FALSE(ReadDataSet(other.data(), other.size(), &view)) << at;
  }
  const Bytes noData = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x7F, 0xF7};
  EXPECT_FALSE(ReadDataSet(noData.data(), noData.size(), &view));
}

TEST(MessageLayout, MasterTuneNibblesOverTheWholeSlider) {
  const struct {
    int position;
    Bytes data;
  } fixed[] = {{0, {0, 0, 1, 8}}, {1000, {0, 4, 0, 0}}, {1999, {0, 7, 0x0E, 7}}, {-5, {0, 0, 1, 8}}, {5000, {0, 7, 0x0E, 7}}};
  for (const auto& f : fixed) {
    uint8_t data[kMasterTuneDataCount];
    MasterTuneData(f.position, data);
    EXPECT_EQ(Bytes(data, data + 4), f.data) << f.position;
  }
  for (int position = kMasterTuneRange.low; position <= kMasterTuneRange.high; ++position) {
    uint8_t data[kMasterTuneDataCount];
    MasterTuneData(position, data);
    int back = -1;
    ASSERT_TRUE(MasterTuneOfData(data, &back));
    ASSERT_EQ(back, position);
  }
  int untouched = -1;
  for (const Bytes& other : {Bytes{0, 7, 0x0E, 8}, Bytes{0, 0, 1, 7}, Bytes{0, 4, 0x10, 0}, Bytes{1, 0, 0, 0}}) {
    EXPECT_FALSE(MasterTuneOfData(other.data(), &untouched));
  }
  EXPECT_EQ(untouched, -1);
}

TEST(MessageLayout, ChannelsMapOntoPartsBothWays) {
  const uint8_t part[kChannelCount] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11, 12, 13, 14, 15};
  for (int n = 0; n < kChannelCount; ++n) {
    EXPECT_EQ(Tuple(ChannelAddress(n)), Tuple(DataSetAddress{0x01, part[n], 0x00})) << n;
    int channel = -1;
    ASSERT_TRUE(ChannelOfAddress(ChannelAddress(n), &channel));
    EXPECT_EQ(channel, n);
  }
  int channel = -1;
  for (DataSetAddress other : {DataSetAddress{0x01, 0x10, 0x00}, DataSetAddress{0x01, 0x01, 0x01},
                               DataSetAddress{0x00, 0x01, 0x00}, ChannelAddress(16), ChannelAddress(-1)}) {
    EXPECT_FALSE(ChannelOfAddress(other, &channel));
  }
}

TEST(MessageLayout, DigitalTargetsLieApartAndReadBack) {
  EXPECT_EQ(Tuple(DigitalAddress(DigitalTarget::Stereo, kDigitalVolume)), Tuple(DataSetAddress{0x03, 0x00, 0x02}));
  EXPECT_EQ(Tuple(DigitalAddress(DigitalTarget::Left, kDigitalVolume)), Tuple(DataSetAddress{0x02, 0x00, 0x02}));
  EXPECT_EQ(Tuple(DigitalAddress(DigitalTarget::Right, kDigitalVolume)), Tuple(DataSetAddress{0x02, 0x00, 0x0C}));
  std::set<std::tuple<uint8_t, uint8_t, uint8_t>> seen;
  for (int t = 0; t < kDigitalTargetCount; ++t) {
    for (int o = kDigitalOffsets.low; o <= kDigitalOffsets.high; ++o) {
      const DataSetAddress address = DigitalAddress(static_cast<DigitalTarget>(t), o);
      EXPECT_TRUE(seen.insert(Tuple(address)).second) << t << " " << o;
      DigitalTarget target = DigitalTarget::Stereo;
      int offset = 0;
      ASSERT_TRUE(DigitalOfAddress(address, &target, &offset));
      EXPECT_EQ(static_cast<int>(target), t);
      EXPECT_EQ(offset, o);
    }
  }
  DigitalTarget target;
  int offset;
  for (DataSetAddress other : {DataSetAddress{0x02, 0x00, 0x0B}, DataSetAddress{0x02, 0x00, 0x01},
                               DataSetAddress{0x02, 0x00, 0x15}, DataSetAddress{0x03, 0x01, 0x02}}) {
    EXPECT_FALSE(DigitalOfAddress(other, &target, &offset));
  }
  EXPECT_STREQ(DigitalTargetCaption(DigitalTarget::Left), "Le&ft");
  EXPECT_STREQ(DigitalTargetName(DigitalTarget::Stereo), "Stereo");
  EXPECT_STREQ(DigitalTargetName(DigitalTarget::Right), "Right");
}

TEST(MessageLayout, ValueRangesAsThePanelShowsThem) {
  EXPECT_EQ(kMasterTransposeShown.low, -24);
  EXPECT_EQ(kMasterTransposeShown.high, 24);
  EXPECT_EQ(kDigitalTransposeShown.low, -64);
  EXPECT_EQ(kDigitalTransposeShown.high, 63);
  uint8_t data[kDigitalTuneDataCount];
  DigitalTuneData(kDigitalTuneCentre, data);
  EXPECT_EQ(Bytes(data, data + 2), (Bytes{0x40, 0x00}));
  DigitalTuneData(70000, data);
  EXPECT_EQ(DigitalTuneOfData(data), kDigitalTuneRange.high);
  EXPECT_STREQ(ReverbTypeName(kDefaultReverbType), "Hall 2");
  EXPECT_EQ(ReverbTypeName(kReverbTypeCount), nullptr);
}
