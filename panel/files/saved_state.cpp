#include "panel/files/saved_state.h"

namespace {

// The master block runs from the tune (40 00 00) to the key shift (40 00 05) with the volume
// between; the digital block from the volume to the chorus.
constexpr size_t kMasterBlockData = kKeyShiftAddress.low - kMasterTuneAddress.low + 1;
constexpr size_t kDigitalBlockData = kDigitalOffsets.high - kDigitalOffsets.low + 1;
static_assert(kGsMasterVolumeAddress.low == kMasterTuneAddress.low + kMasterTuneDataCount &&
                  kKeyShiftAddress.low == kGsMasterVolumeAddress.low + 1,
              "tune, volume, key shift");

void SendDataSet(MessageSink& sink, uint8_t model, DataSetAddress address, const uint8_t* data, size_t count) {
  uint8_t message[DataSetLength(kEffectCount)];  // the longest block
  sink.Send(message, WriteDataSet(model, address, data, count, message));
}

}  // namespace

void SendSavedState(const PanelSettings& settings, DigitalTarget target, MessageSink& sink) {
  SendDataSet(sink, kCardModel, EffectAddress(kReverbType), settings.EffectsBlock, kEffectCount);

  for (int channel = kChannelCount - 1; channel >= 0; --channel) {
    const uint8_t receive = ChannelReceiveData(channel, settings.ReceivesOnItsChannel(channel));
    SendDataSet(sink, kCardModel, ChannelAddress(channel), &receive, 1);
  }

  uint8_t master[kMasterBlockData];
  MasterTuneData(settings.MTun, master);
  master[kMasterTuneDataCount] = settings.MVol;
  master[kMasterTuneDataCount + 1] = settings.MTrn;
  SendDataSet(sink, kGsModel, kMasterTuneAddress, master, sizeof master);

  uint8_t digital[kDigitalBlockData];
  for (size_t i = 0; i < kDigitalBlockData; ++i) digital[i] = settings.DigitalBlock[kDigitalOffsets.low + i];
  DigitalTuneData(settings.DTun, digital + (kDigitalTuneMsb - kDigitalOffsets.low));
  SendDataSet(sink, kCardModel, DigitalAddress(target, kDigitalOffsets.low), digital, sizeof digital);
}
