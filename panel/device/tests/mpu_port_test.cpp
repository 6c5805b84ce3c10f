// The register protocol against the software interface: handshake, reset exchange, Panic, the
// bounded waits and the way back after a fault.
#include <gtest/gtest.h>

#include <vector>

#include "panel/device/card_ports_output.h"
#include "panel/device/mpu401_capture.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tests/fake_clock.h"

namespace {
using Kind = PortEvent::Kind;

constexpr uint16_t kBase = 0x330;
const std::vector<uint8_t> kVolumeMessage = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, 0x40, 0xF7};
const std::vector<uint8_t> kReverbMessage = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03,
                                             0x00, 0x09, 0x5A, 0x1A, 0xF7};

PortEvent Out(uint16_t port, uint8_t value) { return {Kind::Write, value, port}; }
PortEvent In(uint16_t port, uint8_t value) { return {Kind::Read, value, port}; }
PortEvent Cli() { return {Kind::DisableInterrupts, 0, 0}; }
PortEvent Sti() { return {Kind::EnableInterrupts, 0, 0}; }

std::vector<PortEvent> ResetExchange(std::vector<uint8_t> strayBytes = {}) {
  std::vector<PortEvent> events = {Cli(), Out(kBase + 1, 0xFF)};
  for (uint8_t b : strayBytes) events.push_back(In(kBase, b));
  events.insert(events.end(), {In(kBase, 0xFE), Out(kBase + 1, 0x3F), Sti()});
  return events;
}

// One card, the port over it, and the panel's sink in live mode.
struct Card {
  Mpu401Model model{kBase};
  SteppingClock clock;
  MpuPort mpu{model, clock};
  uint32_t port = kBase;
  CardPortsOutput sink{mpu, port};

  void Send(const std::vector<uint8_t>& message) { sink.Send(message.data(), message.size()); }
};

// Sees every access, status reads included, in order.
class SpyIo : public PortIo {
 public:
  explicit SpyIo(PortIo& inner) : inner_(inner) {}
  uint8_t ReadByte(uint16_t port) override {
    ports.push_back(port);
    return inner_.ReadByte(port);
  }
  void WriteByte(uint16_t port, uint8_t value) override {
    ports.push_back(port);
    inner_.WriteByte(port, value);
  }
  void DisableInterrupts() override { inner_.DisableInterrupts(); }
  void EnableInterrupts() override { inner_.EnableInterrupts(); }
  bool Refused() const override { return inner_.Refused(); }
  std::vector<uint16_t> ports;

 private:
  PortIo& inner_;
};

// An interface that always has another byte waiting, and never the acknowledge.
class ChattyIo : public PortIo {
 public:
  uint8_t ReadByte(uint16_t port) override { return port == kBase + 1 ? 0x00 : 0x90; }
  void WriteByte(uint16_t, uint8_t) override {}
  void DisableInterrupts() override { ++disables; }
  void EnableInterrupts() override { ++enables; }
  bool Refused() const override { return false; }
  int disables = 0;
  int enables = 0;
};

// A clock that never moves, as the tick count does on a system while interrupts are masked.
class StoppedClock : public TickSource {
 public:
  uint32_t Milliseconds() override { return 5; }
};
}  // namespace

TEST(MpuHandshake, WritesAtOnceWhenReadyAndAfterBusyPollsOtherwise) {
  Card ready;
  ready.mpu.WriteData(kBase, 0x90);
  EXPECT_EQ(CapturedEvents(ready.model), std::vector<PortEvent>{Out(kBase, 0x90)});
  EXPECT_EQ(ready.model.StatusReads(), 1u);

  Card busy;
  busy.model.SetBusyPolls(5);
  busy.Send(kVolumeMessage);
  EXPECT_EQ(CapturedDataBytes(busy.model), kVolumeMessage);
  EXPECT_EQ(busy.model.StatusReads(), 8u * 6u);  // five busy answers, then ready, for each byte
  EXPECT_TRUE(busy.mpu.Responding());
}

TEST(MpuHandshake, SlowInterfaceWithinTheLimitIsNotAFault) {
  Card card;
  card.model.SetBusyPolls(150);  // 150 ms of polling on the stepping clock
  card.Send(kReverbMessage);
  EXPECT_EQ(CapturedDataBytes(card.model), kReverbMessage);
  EXPECT_TRUE(card.mpu.Responding());
}

TEST(MpuReset, ExchangeIsMaskedAndEndsInUartMode) {
  Card card;
  card.model.WriteByte(kBase + 1, 0xFF);  // leave UART mode first and drop the reply
  card.model.ReadByte(kBase);
  card.model.ClearEvents();
  ASSERT_FALSE(card.model.InUartMode());

  card.mpu.ResetToUart(kBase);
  EXPECT_EQ(CapturedEvents(card.model), ResetExchange());
  EXPECT_TRUE(card.model.InUartMode());
  EXPECT_FALSE(card.model.InterruptsDisabled());
}

TEST(MpuReset, DiscardsStrayBytesBeforeTheAcknowledge) {
  Card card;
  const std::vector<uint8_t> stray = {0x90, 0x3C, 0xFF, 0x40};
  card.model.SetStrayBytes(stray.data(), stray.size());
  card.mpu.ResetToUart(kBase);
  EXPECT_EQ(CapturedEvents(card.model), ResetExchange(stray));
  EXPECT_TRUE(card.mpu.Responding());
}

TEST(MpuPanic, TouchesTheSecondPairFirstAndSendsNothingElse) {
  Card card;
  SpyIo spy(card.model);
  MpuPort mpu(spy, card.clock);
  mpu.Panic(kBase);

  std::vector<PortEvent> expected = {Out(kBase + 3, 0x80)};
  for (const PortEvent& e : ResetExchange()) expected.push_back(e);
  EXPECT_EQ(CapturedEvents(card.model), expected);

  // Every access to base+3/base+4 (status poll included) comes before any at base/base+1.
  ASSERT_GE(spy.ports.size(), 2u);
  EXPECT_EQ(spy.ports[0], kBase + 4);
  EXPECT_EQ(spy.ports[1], kBase + 3);
  for (size_t i = 2; i < spy.ports.size(); ++i) EXPECT_LE(spy.ports[i], kBase + 1) << i;
}

TEST(MpuInterrupts, MaskedOnlyAroundTheResetOnEveryPath) {
  // Normal use: messages, then Panic, then more messages.
  Card card;
  card.model.SetBusyPolls(2);
  card.Send(kVolumeMessage);
  card.mpu.Panic(kBase);
  card.Send(kReverbMessage);
  std::vector<PortEvent> events = CapturedEvents(card.model);
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].kind == Kind::DisableInterrupts) {
      ASSERT_LT(i + 1, events.size());
      EXPECT_EQ(events[i + 1], Out(kBase + 1, 0xFF));
    }
    if (events[i].kind == Kind::EnableInterrupts) {
      ASSERT_GE(i, 1u);
      EXPECT_EQ(events[i - 1], Out(kBase + 1, 0x3F));
    }
  }

  // The interface goes away right after taking the reset command: the acknowledge never comes.
  Card lost;
  lost.model.SetAbsentAfterWrites(2);  // the Panic byte and FFh
  lost.mpu.Panic(kBase);
  EXPECT_FALSE(lost.model.InterruptsDisabled());
  EXPECT_EQ(CapturedEvents(lost.model).back(), Sti());
  EXPECT_EQ(lost.mpu.Fault(), OutputFault::Kind::PortNotResponding);

  // An interface that keeps sending other bytes cannot hold the reset either.
  ChattyIo chatty;
  SteppingClock clock;
  MpuPort mpu(chatty, clock);
  mpu.ResetToUart(kBase);
  EXPECT_EQ(chatty.disables, 1);
  EXPECT_EQ(chatty.enables, 1);
  EXPECT_EQ(mpu.Fault(), OutputFault::Kind::PortNotResponding);

  // Absent from the start: the first wait gives up before the mask is touched.
  Card absent;
  absent.model.SetAbsent(true);
  absent.mpu.ResetToUart(kBase);
  for (const PortEvent& e : CapturedEvents(absent.model)) EXPECT_EQ(e.kind, Kind::Write);
}

TEST(MpuTimeout, AbsentInterfaceGivesUpOnceAndDropsEverythingAfter) {
  Card card;
  card.model.SetAbsent(true);
  card.Send(kReverbMessage);
  EXPECT_EQ(card.mpu.Fault(), OutputFault::Kind::PortNotResponding);
  EXPECT_GE(card.clock.reads(), 2u);
  const uint32_t pollsForFirstWait = card.model.StatusReads();
  EXPECT_GE(pollsForFirstWait, mpu401::kWaitLimitMs / 2);  // it did wait, on a 1 ms/read clock
  EXPECT_LE(pollsForFirstWait, mpu401::kWaitLimitMs + 1);

  // The rest of that message and every later one: no polling, nothing written.
  card.Send(kVolumeMessage);
  card.Send(kReverbMessage);
  EXPECT_EQ(card.model.StatusReads(), pollsForFirstWait);
  EXPECT_EQ(card.model.EventCount(), 0u);
}

TEST(MpuTimeout, InterfaceLostInTheMiddleOfAMessage) {
  Card card;
  card.model.SetAbsentAfterWrites(3);
  card.Send(kReverbMessage);
  card.Send(kVolumeMessage);
  EXPECT_EQ(CapturedDataBytes(card.model),
            std::vector<uint8_t>(kReverbMessage.begin(), kReverbMessage.begin() + 3));
  EXPECT_FALSE(card.mpu.Responding());
}

TEST(MpuTimeout, WaitEndsEvenWhenTheClockStandsStill) {
  Mpu401Model model(kBase);
  model.SetAbsent(true);
  StoppedClock clock;
  MpuPort mpu(model, clock);
  mpu.WriteData(kBase, 0xF0);
  EXPECT_EQ(mpu.Fault(), OutputFault::Kind::PortNotResponding);
  EXPECT_EQ(model.StatusReads(), mpu401::kWaitPollLimit);
}

TEST(MpuRecovery, PanicFindsTheInterfaceAgainAndSendingResumes) {
  Card card;
  card.model.SetAbsent(true);
  card.Send(kVolumeMessage);
  ASSERT_FALSE(card.mpu.Responding());

  // Back on the bus, but nothing is sent until the user presses Panic.
  card.model.SetAbsent(false);
  card.Send(kVolumeMessage);
  EXPECT_EQ(card.model.EventCount(), 0u);

  // Panic while it is still away: bounded, the same fault.
  card.model.SetAbsent(true);
  card.mpu.Panic(kBase);
  EXPECT_EQ(card.mpu.Fault(), OutputFault::Kind::PortNotResponding);

  card.model.SetAbsent(false);
  card.model.ClearEvents();
  card.mpu.Panic(kBase);
  EXPECT_TRUE(card.mpu.Responding());
  card.Send(kReverbMessage);
  EXPECT_EQ(CapturedMessages(card.model), std::vector<std::vector<uint8_t>>{kReverbMessage});
}

TEST(MpuRefused, RefusalIsFinalAndNothingIsTriedAgain) {
  Card card;
  card.model.SetRefused(true);
  card.Send(kReverbMessage);
  EXPECT_EQ(card.mpu.Fault(), OutputFault::Kind::PortAccessRefused);
  EXPECT_EQ(card.clock.reads(), 0u);  // refused at the first poll: no waiting

  card.mpu.Panic(kBase);
  card.mpu.ResetToUart(kBase);
  EXPECT_EQ(card.mpu.Fault(), OutputFault::Kind::PortAccessRefused);
  EXPECT_EQ(card.clock.reads(), 0u);
}
