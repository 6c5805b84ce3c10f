// A run of the panel from start to end: the start file over the stored settings, each outcome of a
// file, the exit codes of restoring the card without a window, the output choice and what is saved
// at the end. The card is the software interface; files, the store and the boxes are in memory.
#include "panel/ui/panel_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "panel/core/tests/card_bench.h"
#include "panel/core/tests/fake_settings_store.h"
#include "panel/device/midi_device_output.h"
#include "panel/device/tests/fake_midi_out.h"
#include "panel/files/tests/export_bench.h"
#include "panel/ui/tests/fake_control_surface.h"
#include "panel/ui/running_panel.h"
#include "panel/ui/tests/panel_bench.h"
#include "panel/ui/unseen_controls.h"

namespace {

using Messages = std::vector<Bytes>;
using Told = std::vector<std::string>;

class MemoryFiles : public WholeFileReader {
 public:
  LoadOutcome Read(const char* path, FileBytes* bytes) override {
    if (tooLarge.count(path) != 0) return LoadOutcome::TooLarge;
    auto it = files.find(path);
    if (it == files.end()) return LoadOutcome::CannotRead;
    *bytes = {it->second.data(), it->second.size()};
    ++held;
    return LoadOutcome::Loaded;
  }
  void Release(const FileBytes&) override { --held; }

  std::map<std::string, Bytes> files;
  std::set<std::string> tooLarge;
  int held = 0;
};

class ToldNotices : public PanelNotices {
 public:
  void FileNotLoaded(const LoadResult& result, const char* path) override {
    told.push_back("file " + std::to_string(static_cast<int>(result.outcome)) + " " + path);
  }
  void OutputFailed(const OutputFaultReport& report) override {
    told.push_back("fault " + std::to_string(report.stringId) + " " + std::to_string(report.port) +
                   (report.fault.OfDevice() ? std::string(" ") + report.fault.device : ""));
  }
  Told told;
};

std::string FileTold(LoadOutcome outcome, const char* path) {
  return "file " + std::to_string(static_cast<int>(outcome)) + " " + path;
}

// A dump whose one message sets the master volume.
Bytes VolumeDump(uint8_t volume) { return {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x7F, volume, 0xF7}; }

// The files a start or a load may name, one of each outcome.
struct NamedFile {
  const char* path;
  LoadOutcome outcome;
};
constexpr NamedFile kFiles[] = {
    {"good.syx", LoadOutcome::Loaded},          // master volume 16
    {"missing.syx", LoadOutcome::CannotRead},
    {"large.syx", LoadOutcome::TooLarge},
    {"damaged.syx", LoadOutcome::Damaged},      // a message without its end
    {"foreign.syx", LoadOutcome::NoSettings},   // another maker's message
};

struct RunBench {
  explicit RunBench(ControlSurface& surface) : run(store, files, surface, notices) {
    store.values["MVol"] = 90;
    files.files["good.syx"] = VolumeDump(16);
    files.tooLarge.insert("large.syx");
    files.files["damaged.syx"] = {0xF0, 0x41, 0x10};
    files.files["foreign.syx"] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7};
  }
  RunBench() : RunBench(controls) {}
  // The program's order: the stored settings, then the outputs made at their port.
  void Begin() {
    run.LoadStored();
    run.Connect(chosen);
  }

  FakeSettingsStore store;
  MemoryFiles files;
  FakeControlSurface controls;
  ToldNotices notices;
  CardBench card;
  FakeMidiOut midi;
  MidiDeviceOutput device{midi, card.clock};
  ChosenOutput chosen{card.sink, device};
  PanelRun run;
};

// The first message of a push: the master volume.
uint8_t PushedVolume(const Messages& sent) { return sent.empty() ? 0 : sent[0][6]; }

TEST(PanelRun, StartTakesTheStartFileOverTheStoredSettingsThenPushesOnceAndTellsOnceShown) {
  for (const NamedFile& file : kFiles) {
    const bool loaded = file.outcome == LoadOutcome::Loaded;
    RunBench bench;
    bench.Begin();
    bench.run.Start(file.path);
    const Messages sent = bench.card.TakeMessages();
    EXPECT_EQ(sent.size(), 35u) << file.path;
    EXPECT_EQ(PushedVolume(sent), loaded ? 16 : 90) << file.path;
    EXPECT_EQ(bench.controls.sliders[IDC_MASTER_VOLUME].pos, loaded ? 16 : 90) << file.path;
    EXPECT_TRUE(bench.notices.told.empty()) << "nothing before the panel shows: " << file.path;
    bench.run.TellStartNotices();
    bench.run.TellStartNotices();
    EXPECT_EQ(bench.notices.told, loaded ? Told{} : Told{FileTold(file.outcome, file.path)}) << file.path;
    EXPECT_EQ(bench.files.held, 0) << file.path;
    bench.run.End();
    EXPECT_EQ(bench.store.values["MVol"], loaded ? 16u : 90u) << file.path;
  }
  RunBench without;
  without.Begin();
  without.run.Start(nullptr);
  EXPECT_EQ(PushedVolume(without.card.TakeMessages()), 90);
  without.run.TellStartNotices();
  EXPECT_TRUE(without.notices.told.empty());
  EXPECT_EQ(without.controls.texts[IDC_DIGITAL_TARGET], "Stereo") << "the target button is named";
}

TEST(PanelRun, ALoadedFileIsShownAndSentOnceAndOneThatCannotBeUsedChangesNothingAndIsTold) {
  for (const NamedFile& file : kFiles) {
    const bool loaded = file.outcome == LoadOutcome::Loaded;
    RunBench bench;
    bench.Begin();
    bench.run.Start(nullptr);
    bench.run.Events().OnTargetClicked();  // Left
    bench.card.TakeMessages();
    EXPECT_EQ(bench.run.LoadFile(file.path).outcome, file.outcome) << file.path;
    const Messages sent = bench.card.TakeMessages();
    EXPECT_EQ(sent.size(), loaded ? 35u : 0u) << file.path;
    if (loaded) EXPECT_EQ(Hex(Bytes(sent[1].begin() + 5, sent[1].begin() + 8)), "02 00 02") << "to the target in force";
    EXPECT_EQ(bench.run.Settings().MVol, loaded ? 16 : 90) << file.path;
    EXPECT_EQ(bench.notices.told, loaded ? Told{} : Told{FileTold(file.outcome, file.path)}) << file.path;
  }
}

// Without a window: 0 when sent; 1 once the card's fault is told; 2 once the file's fault is told,
// and then nothing is sent and nothing saved. A file that was taken is saved, sent or not.
TEST(PanelRun, SendWithoutWindowExitCodes) {
  struct Case {
    const char* file;
    bool cardAbsent;
    int exitCode;
    size_t sent;
    bool saved;
    const char* told;  // "" nothing; "file" the file's fault; "fault" the card's
  } cases[] = {
      {nullptr, false, kExitDone, 35, false, ""},
      {"good.syx", false, kExitDone, 35, true, ""},
      {"missing.syx", false, kExitBadStart, 0, false, "file"},
      {"damaged.syx", false, kExitBadStart, 0, false, "file"},
      {nullptr, true, kExitCardUnreachable, 0, false, "fault"},
      {"good.syx", true, kExitCardUnreachable, 0, true, "fault"},
  };
  for (const Case& c : cases) {
    UnseenControls unseen;
    RunBench bench(unseen);
    // A stored device is not even opened when the file cannot be used.
    if (c.exitCode == kExitBadStart) bench.store.texts["MOut"] = "USB MIDI";
    bench.Begin();
    bench.card.card.SetAbsent(c.cardAbsent);
    EXPECT_EQ(bench.run.SendWithoutWindow(c.file), c.exitCode) << c.file << c.cardAbsent;
    EXPECT_EQ(bench.card.TakeMessages().size(), c.sent) << c.file << c.cardAbsent;
    const bool saved = std::count(bench.store.calls.begin(), bench.store.calls.end(), "open-write") > 0;
    EXPECT_EQ(saved, c.saved) << c.file << c.cardAbsent;
    const std::string told = bench.notices.told.empty() ? "" : bench.notices.told[0].substr(0, bench.notices.told[0].find(' '));
    EXPECT_EQ(told, c.told) << c.file << c.cardAbsent;
    if (c.exitCode == kExitBadStart) EXPECT_TRUE(bench.midi.log.empty()) << "no device opened for a bad file";
  }
}

// Restoring the card without a window sends what opening the panel sends, for any stored settings.
TEST(PanelRun, SendWithoutWindowSendsThePanelsStartupPush) {
  const std::map<std::string, uint32_t> stored[] = {
      {},
      {{"MTun", 1999}, {"DTun", 16383}, {"RTyp", 7}, {"Mute", 0x00F0}, {"MTrn", 40}, {"DTrn", 127}},
      {{"MTun", 0}, {"DTun", 0}, {"RTyp", 0}, {"Mute", 0}, {"MTrn", 88}, {"CDep", 127}, {"MVol", 0}},
  };
  for (const auto& values : stored) {
    UnseenControls unseen;
    RunBench bench(unseen);
    bench.store.values = values;
    bench.Begin();
    EXPECT_EQ(bench.run.SendWithoutWindow(nullptr), kExitDone);
    EXPECT_EQ(bench.card.TakeMessages(), ExpectedStartupPush(bench.run.Settings()));
  }
}

// The stored device is chosen with the first push; a choice sends the whole state there, is kept
// by name and saved at the end; Panic and faults follow the choice, each fault told once.
TEST(PanelRun, TheChosenOutputGetsTheWholeStateAndIsSavedByName) {
  RunBench bench;
  bench.store.texts["MOut"] = "USB MIDI";
  bench.Begin();
  EXPECT_TRUE(bench.midi.log.empty()) << "nothing opened before the start";
  bench.run.Start(nullptr);
  EXPECT_EQ(bench.midi.sent.size(), 35u);
  EXPECT_TRUE(bench.card.TakeMessages().empty());
  bench.run.Panic();
  EXPECT_EQ(bench.midi.log.back(), "reset");

  bench.midi.donePauses = -1;
  bench.run.Events().OnTargetClicked();
  bench.run.Events().OnScroll(IDC_MASTER_VOLUME, kScrollThumbPosition);
  bench.run.Events().OnScroll(IDC_MASTER_VOLUME, kScrollEnd);
  EXPECT_TRUE(bench.run.TellNewFault());
  EXPECT_FALSE(bench.run.TellNewFault()) << "once per fault";
  bench.midi.donePauses = 0;
  bench.midi.openResult = MidiOutApi::kAllocated;
  bench.run.ChooseOutput("USB MIDI");  // the one in force is tried again
  bench.run.TellNewFault();
  bench.run.ChooseOutput("Gone");
  bench.run.TellNewFault();
  EXPECT_EQ(bench.notices.told, (Told{"fault " + std::to_string(IDS_OUTPUT_NOT_TAKING) + " 816 USB MIDI",
                                      "fault " + std::to_string(IDS_OUTPUT_NOT_OPENED) + " 816 USB MIDI",
                                      "fault " + std::to_string(IDS_OUTPUT_MISSING) + " 816 Gone"}));
  EXPECT_STREQ(bench.run.OutputName(), "Gone");

  bench.run.ChooseOutput("");
  EXPECT_EQ(bench.card.TakeMessages().size(), 35u) << "the card gets the whole state";
  bench.run.End();
  EXPECT_EQ(bench.store.texts["MOut"], "");
  bench.run.ChooseOutput("Synth A");
  bench.run.End();
  EXPECT_EQ(bench.store.texts["MOut"], "Synth A");
}

// The push runs before the panel is on the screen: its fault waits for it, and is told once.
TEST(PanelRun, FaultsAreToldOnceAndNotBeforeTheFirstPush) {
  RunBench bench;
  bench.store.values["Port"] = 0x10330;
  bench.card.card.SetAbsent(true);
  bench.Begin();
  bench.run.Panic();
  EXPECT_FALSE(bench.run.TellNewFault()) << "the panel is not on the screen yet";
  bench.run.Start(nullptr);
  bench.run.TellStartNotices();
  EXPECT_FALSE(bench.run.TellNewFault()) << "once per fault";
  EXPECT_EQ(bench.notices.told, Told{"fault " + std::to_string(IDS_PORT_NOT_RESPONDING) + " 816"});

  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::None), 0);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::PortAccessRefused), IDS_PORT_REFUSED);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::NoPortDriver), IDS_PORT_NO_DRIVER);
  EXPECT_EQ(OutputFaultStringId(OutputFault::Kind::PortDriverNotRunning), IDS_PORT_DRIVER_NOT_RUNNING);
}

TEST(PanelRun, PanicResetsTheInterfaceAtTheStoredPort) {
  RunBench bench;
  bench.Begin();
  bench.run.Start(nullptr);
  bench.card.card.ClearEvents();
  bench.run.Panic();
  ASSERT_GE(bench.card.card.EventCount(), 2u);
  // The Panic byte goes first, one register pair above the interface; then the reset.
  EXPECT_EQ(bench.card.card.Event(0).kind, PortEvent::Kind::Write);
  EXPECT_EQ(bench.card.card.Event(0).port, 0x333);
  EXPECT_EQ(bench.card.card.Event(0).value, 0x80);
}

// The running panel as a second start reaches it: a run of the panel that serves what is handed
// over, or one that never answers (run null). Logs what the start asks.
struct FakeRunningPanel : RunningPanel {
  FakeRunningPanel(bool found, PanelRun* run) : found(found), run(run) {}
  bool Find() override {
    asked += "find";
    return found;
  }
  int HandOver(PanelRequest request, const char* file) override {
    asked += std::string(" ") + "?als"[static_cast<int>(request)] + (file != nullptr ? file : "");
    return run != nullptr ? run->Serve(request, file) : kNoAnswer;
  }
  void BringToFront() override { asked += " front"; }

  bool found;
  PanelRun* run;
  std::string asked;
};

// A start of the program while its panel may run: the outcome for the arguments, what the start
// asks of the running panel (a: answer, l: load, s: send), and what that panel does with it.
TEST(PanelRun, ASecondStartHandsItsRequestToTheRunningPanelAndEndsWithItsAnswer) {
  enum Found { kNone, kAnswers, kSilent };
  using Kind = StartOutcome::Kind;
  struct Case {
    const char* line;
    Found found;
    int cardGone;  // 1: the card stops answering once the panel runs; 2: and the panel told so already
    Kind kind;
    int exitCode;
    const char* asked;
    size_t sent;
    uint8_t volume;
    const char* told;
  } cases[] = {
      {"T", kNone, false, Kind::OpenHere, kExitDone, "find", 0, 90, ""},
      {"T /send good.syx", kNone, false, Kind::OpenHere, kExitDone, "find", 0, 90, ""},
      {"T /sned", kAnswers, false, Kind::Usage, kExitBadStart, "", 0, 90, ""},
      {"T", kAnswers, false, Kind::Answered, kExitDone, "find a front", 0, 90, ""},
      {"T good.syx", kAnswers, false, Kind::Answered, kExitDone, "find a front lgood.syx", 35, 16, ""},
      {"T damaged.syx", kAnswers, false, Kind::Answered, kExitBadStart, "find a front ldamaged.syx", 0, 90, "file"},
      {"T good.syx", kAnswers, true, Kind::Answered, kExitDone, "find a front lgood.syx", 0, 16, "fault"},
      {"T -SEND good.syx", kAnswers, false, Kind::Answered, kExitDone, "find sgood.syx", 35, 16, ""},
      {"T /send missing.syx", kAnswers, false, Kind::Answered, kExitBadStart, "find smissing.syx", 0, 90, "file"},
      {"T /send", kAnswers, true, Kind::Answered, kExitCardUnreachable, "find s", 0, 90, "fault"},
      {"T /send", kAnswers, 2, Kind::Answered, kExitCardUnreachable, "find s", 0, 90, ""},
      {"T good.syx", kSilent, false, Kind::NoAnswer, kExitNoAnswer, "find a", 0, 90, ""},
      {"T /send", kSilent, false, Kind::NoAnswer, kExitNoAnswer, "find s", 0, 90, ""},
  };
  for (const Case& c : cases) {
    RunBench running;
    running.Begin();
    running.run.Start(nullptr);
    running.card.TakeMessages();
    running.card.card.SetAbsent(c.cardGone != 0);
    if (c.cardGone == 2) {
      running.run.Panic();
      running.run.TellNewFault();
      running.notices.told.clear();
    }
    FakeRunningPanel panel(c.found != kNone, c.found == kAnswers ? &running.run : nullptr);
    const StartOutcome outcome = StartBesideRunningPanel(ReadCommandLine(c.line), panel);
    const std::string row = std::string(c.line) + (c.cardGone ? " (card gone)" : "");
    EXPECT_EQ(outcome.kind, c.kind) << row;
    if (c.kind != Kind::OpenHere) EXPECT_EQ(outcome.exitCode, c.exitCode) << row;
    EXPECT_EQ(panel.asked, c.asked) << row;
    EXPECT_EQ(running.card.TakeMessages().size(), c.sent) << row;
    EXPECT_EQ(running.controls.sliders[IDC_MASTER_VOLUME].pos, c.volume) << row;
    const Told& told = running.notices.told;
    EXPECT_EQ(told.empty() ? "" : told[0].substr(0, told[0].find(' ')), c.told) << row;
    EXPECT_LE(told.size(), 1u) << row;
  }
}

}  // namespace
