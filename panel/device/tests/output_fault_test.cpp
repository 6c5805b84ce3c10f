// A fault of either way to the card, as the panel asks for it through the chosen output: one
// record (what failed; a device's name and the system's reason), told once per fault. A fault that
// comes back before the way worked again is the same fault; one after that is told again.
#include <gtest/gtest.h>

#include <vector>

#include "panel/device/chosen_output.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/tests/fake_clock.h"
#include "panel/device/tests/fake_midi_out.h"

namespace {
using K = OutputFault::Kind;

// A card whose system refuses port access for a reason chosen by the test.
class Card : public Mpu401Model {
 public:
  Refusal why = Refusal::System;
  Refusal WhyRefused() const override { return why; }
};

struct Ways {
  Card card;
  SteppingClock clock{10};
  MpuPort mpu{card, clock};
  CardPortsOutput ports{mpu, 0x330};
  FakeMidiOut midi;
  MidiDeviceOutput device{midi, clock};
  ChosenOutput chosen{ports, device};

  void Send() {
    const uint8_t volume[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x64, 0xF7};
    chosen.Send(volume, sizeof volume);
  }
};

// A step, then what one ask tells: the kind, and for a device its name and the system's code.
struct Step {
  void (*run)(Ways&);
  K kind = K::None;
  const char* device = nullptr;
  uint32_t code = 0;
};

void Absent(Ways& w) { w.card.SetAbsent(true), w.Send(); }
void Present(Ways& w) { w.card.SetAbsent(false), w.Send(); }
void Panic(Ways& w) { w.chosen.Panic(); }
void Refused(Ways& w) { w.card.SetRefused(true), w.Send(); }
void NoDriver(Ways& w) { w.card.why = PortIo::Refusal::NoPortDriver, Refused(w); }
void DriverStopped(Ways& w) { w.card.why = PortIo::Refusal::PortDriverNotRunning, Refused(w); }
void ChooseGone(Ways& w) { w.chosen.Choose("Gone"); }
void ChooseUsb(Ways& w) { w.chosen.Choose("USB MIDI"); }
void ChooseUsbInUse(Ways& w) { w.midi.openResult = MidiOutApi::kAllocated, ChooseUsb(w); }
void Send(Ways& w) { w.Send(); }
void SendLate(Ways& w) { w.midi.donePauses = -1, w.Send(); }
void SendRefused(Ways& w) { w.midi.sendResult = 67, w.Send(); }
void SendInTime(Ways& w) { w.midi.donePauses = 0, w.Send(); }
void GoneThenCard(Ways& w) { ChooseGone(w), w.chosen.Choose(""); }
}  // namespace

TEST(OutputFault, EitherWaysFaultIsOneRecordToldOncePerFault) {
  const struct {
    const char* what;
    std::vector<Step> steps;
  } cases[] = {
      {"ports that stop answering, found again by Panic, then lost again",
       {{Absent, K::PortNotResponding}, {Absent}, {Panic}, {Present}, {Panic}, {Present}, {Absent, K::PortNotResponding}}},
      {"ports the system refuses", {{Refused, K::PortAccessRefused}, {Panic}, {Refused}}},
      {"no port-driver library", {{NoDriver, K::NoPortDriver}, {Panic}}},
      {"a port driver not running", {{DriverStopped, K::PortDriverNotRunning}, {Send}}},
      {"a missing device, chosen again",
       {{ChooseGone, K::DeviceMissing, "Gone"}, {Send}, {Panic}, {ChooseGone, K::DeviceMissing, "Gone"}}},
      {"a device in use", {{ChooseUsbInUse, K::DeviceNotOpened, "USB MIDI", MidiOutApi::kAllocated}, {Send}}},
      {"a device not done in time, chosen again",
       {{ChooseUsb}, {SendLate, K::DeviceNotTaking, "USB MIDI", MidiOutApi::kStillPlaying}, {SendInTime}, {ChooseUsb},
        {SendLate, K::DeviceNotTaking, "USB MIDI", MidiOutApi::kStillPlaying}}},
      {"a device that refuses a message", {{ChooseUsb}, {SendRefused, K::DeviceNotTaking, "USB MIDI", 67}}},
      {"the card chosen before a device's fault was told", {{GoneThenCard}, {Absent, K::PortNotResponding}}},
  };
  for (const auto& c : cases) {
    Ways w;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(testing::Message() << c.what << ", step " << i);
      const Step& step = c.steps[i];
      step.run(w);
      const OutputFault fault = w.chosen.TakeNewFault();
      EXPECT_EQ(fault.kind, step.kind);
      EXPECT_EQ(fault.OfDevice(), step.device != nullptr);
      if (fault.OfDevice()) EXPECT_STREQ(fault.device, step.device);
      EXPECT_EQ(fault.OfDevice() ? fault.systemCode : 0u, step.code);
      EXPECT_EQ(w.chosen.TakeNewFault().kind, K::None) << "told once";
    }
  }
}
