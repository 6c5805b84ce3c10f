// A MIDI output device as the way to the card, over a fake midiOut library: opening the device
// chosen, the bounded wait for each buffer and the way out of a device that does not take a
// message.
#include "panel/device/midi_device_output.h"

#include <gtest/gtest.h>

#include "panel/device/tests/fake_clock.h"
#include "panel/device/tests/fake_midi_out.h"

namespace {
using Log = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
const Bytes kVolume = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
const Bytes kReverb = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x40, 0x3F, 0xF7};

// The clock moves 10 ms each time it is read: an 8-byte message may take 1003 ms, that is 100
// pauses of the wait.
struct Device {
  FakeMidiOut api;
  SteppingClock clock{10};
  MidiDeviceOutput output{api, clock};
  // Opens the device as the list of outputs finds it by name.
  bool Open(const char* name) {
    OutputChoice choice;
    OutputList(0x330, api).Find(name, &choice);
    return output.Open(choice);
  }
  void Send(const Bytes& message) { output.Send(message.data(), message.size()); }
};
}  // namespace

TEST(MidiDeviceOutput, OpensTheDeviceByItsNameAndSendsEachMessageThroughOneBufferInOrder) {
  Device d;
  ASSERT_TRUE(d.Open("USB MIDI"));
  d.Send(kVolume);
  d.Send(kReverb);
  EXPECT_EQ(d.api.sent, (std::vector<Bytes>{kVolume, kReverb}));
  d.output.Close();
  EXPECT_EQ(d.api.log, (Log{"open 1", "prepare #1", "send #1", "unprepare #1", "prepare #1", "send #1",
                            "unprepare #1", "free #1", "close"}));
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::None);
  EXPECT_STREQ(d.output.DeviceName(), "USB MIDI");
}

TEST(MidiDeviceOutput, WaitsForALateDriverUpToASecondAndTheMessagesWireTime) {
  Device d;
  d.api.donePauses = 100;
  ASSERT_TRUE(d.Open("Synth A"));
  d.Send(kVolume);
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::None);
  EXPECT_EQ(d.api.log.back(), "unprepare #1");

  // 100 bytes take 32 ms on the wire: three more pauses.
  Bytes longer(100, 0x10);
  d.api.donePauses = 103;
  d.output.Send(longer.data(), longer.size());
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::None);
  EXPECT_EQ(d.api.sent.size(), 2u);
}

TEST(MidiDeviceOutput, ADriverNotDoneInTimeIsResetAndGetsNothingMoreUntilOpenedAgain) {
  Device d;
  d.api.donePauses = 101;
  ASSERT_TRUE(d.Open("Synth A"));
  d.Send(kVolume);
  EXPECT_EQ(d.api.log, (Log{"open 0", "prepare #1", "send #1", "reset", "unprepare #1"}));
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::DeviceNotTaking);
  d.Send(kReverb);
  EXPECT_EQ(d.api.sent.size(), 1u);

  d.api.donePauses = 0;
  ASSERT_TRUE(d.Open("Synth A"));
  d.Send(kReverb);
  EXPECT_EQ(d.api.sent.back(), kReverb);
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::None);
}

TEST(MidiDeviceOutput, ABufferThatCannotBeUnpreparedIsNeverFreedNorUsedAgain) {
  Device d;
  d.api.donePauses = -1;
  d.api.unprepareStuck = true;
  ASSERT_TRUE(d.Open("Synth A"));
  d.Send(kVolume);
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::DeviceNotTaking);

  // Another device later, and the program's end: a new buffer, the old one left to the driver.
  d.api.donePauses = 0;
  d.api.unprepareStuck = false;
  ASSERT_TRUE(d.Open("USB MIDI"));
  d.Send(kReverb);
  d.output.Close();
  ASSERT_EQ(d.api.blocks.size(), 2u);
  EXPECT_FALSE(d.api.blocks[0]->freed);
  EXPECT_TRUE(d.api.blocks[1]->freed);
  EXPECT_EQ(std::count(d.api.log.begin(), d.api.log.end(), "send #1"), 1);
  EXPECT_EQ(d.api.log.back(), "close");
}

TEST(MidiDeviceOutput, ARefusedMessageIsUnpreparedAndEndsSending) {
  Device d;
  d.api.sendResult = 67;  // not ready
  ASSERT_TRUE(d.Open("Synth A"));
  d.Send(kVolume);
  d.Send(kReverb);
  EXPECT_EQ(d.api.log, (Log{"open 0", "prepare #1", "send #1", "unprepare #1"}));
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::DeviceNotTaking);
}

TEST(MidiDeviceOutput, AMissingOrUnopenableDeviceIsToldAndGetsNothing) {
  Device d;
  EXPECT_FALSE(d.Open("USB MIDI 2"));
  d.Send(kVolume);
  d.output.Panic();
  EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::DeviceMissing);
  EXPECT_STREQ(d.output.DeviceName(), "USB MIDI 2") << "kept for the choice to be saved";

  for (uint32_t result : {MidiOutApi::kAllocated, uint32_t{2}}) {  // in use; the id went away meanwhile
    d.api.openResult = result;
    EXPECT_FALSE(d.Open("USB MIDI"));
    d.Send(kVolume);
    EXPECT_EQ(d.output.TakeNewFault().kind, OutputFault::Kind::DeviceNotOpened);
  }
  EXPECT_TRUE(d.api.sent.empty());
  EXPECT_EQ(d.api.log, (Log{"open 1", "open 1"})) << "nothing to close or reset";
}
