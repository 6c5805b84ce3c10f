// The "Save &MIDI" sequence: what happens to the file, the caption and the memory on each outcome.
#include "panel/files/midi_export.h"

#include <gtest/gtest.h>

#include <cstring>

#include "panel/files/tests/export_bench.h"
#include "panel/files/tests/export_fakes.h"

namespace {

struct SaveBench : ExportBench {
  Journal journal;
  ScriptedUi ui{journal};
  MemoryFile file{journal};

  SaveBench() { Open(); }
  int Save() {
    return SaveMidiFile(Input(), ui, file, memory);
  }

  void ExpectLiveWithoutBuffer() {
    EXPECT_EQ(memory.obtained, memory.released);
    const size_t before = card.EventCount();
    messages.ToggleChannel(3);
    EXPECT_GT(card.EventCount(), before) << "the next change must reach the card";
  }
};

TEST(SaveMidiFile, WritesTheImageInOneWriteAndRestoresTheCaption) {
  SaveBench bench;
  EXPECT_EQ(bench.Save(), kExportSaved);
  EXPECT_EQ(bench.journal, (Journal{"choose 260", "create C:\\out\\state.mid", "caption 176", "write 302",
                                    "close", "caption 175"}));
  ASSERT_TRUE(bench.file.exists);
  ExportBench reference;
  reference.Open();
  EXPECT_EQ(bench.file.contents, reference.Build());
  EXPECT_EQ(bench.memory.lastSize, 4096u);
  bench.ExpectLiveWithoutBuffer();
}

TEST(SaveMidiFile, CancelDoesNothing) {
  SaveBench bench;
  bench.ui.chosen = nullptr;
  const PanelSettings before = bench.settings;
  EXPECT_EQ(bench.Save(), kExportCancelled);
  EXPECT_EQ(bench.journal, Journal{"choose 260"});
  EXPECT_EQ(bench.memory.obtained, 0);
  EXPECT_EQ(bench.settings.Mute, before.Mute);
  bench.ExpectLiveWithoutBuffer();
}

TEST(SaveMidiFile, FileThatCannotBeCreatedIsReportedWithoutTouchingTheCaption) {
  SaveBench bench;
  bench.file.creatable = false;
  EXPECT_EQ(bench.Save(), kExportCannotCreate);
  EXPECT_EQ(bench.journal,
            (Journal{"choose 260", "create C:\\out\\state.mid", "error 177", "caption 175"}));
  EXPECT_FALSE(bench.file.exists);
  EXPECT_EQ(bench.memory.obtained, 0);
  bench.ExpectLiveWithoutBuffer();
}

TEST(SaveMidiFile, NoMemoryRemovesTheCreatedFileBeforeTelling) {
  SaveBench bench;
  bench.memory.refuse = true;
  EXPECT_EQ(bench.Save(), kExportNoMemory);
  EXPECT_EQ(bench.journal, (Journal{"choose 260", "create C:\\out\\state.mid", "caption 176", "close",
                                    "delete C:\\out\\state.mid", "error 179", "caption 175"}));
  EXPECT_FALSE(bench.file.exists);
  bench.ExpectLiveWithoutBuffer();
}

TEST(SaveMidiFile, FailedOrShortWriteRemovesThePartialFile) {
  struct Case {
    bool fails;
    uint32_t shortBy;
  } cases[] = {{true, 0}, {true, 302}, {false, 1}, {false, 302}, {true, 100}};
  for (const Case& c : cases) {
    SaveBench bench;
    bench.file.writeFails = c.fails;
    bench.file.shortBy = c.shortBy;
    EXPECT_EQ(bench.Save(), kExportWriteFailed);
    EXPECT_EQ(bench.journal, (Journal{"choose 260", "create C:\\out\\state.mid", "caption 176", "write 302",
                                      "close", "delete C:\\out\\state.mid", "error 178", "caption 175"}))
        << c.fails << " " << c.shortBy;
    EXPECT_FALSE(bench.file.exists);
    bench.ExpectLiveWithoutBuffer();
  }
}

// The save dialog asks about the name as typed; the dump type adds ".syx" to a name without an
// extension, and a file of the longer name is asked about before it is replaced.
TEST(SaveMidiFile, DumpTypeAddsItsExtensionAndAsksBeforeReplacingThatFile) {
  struct Case {
    SaveType type;
    const char* typed;
    const char* existing;
    bool replace;
    const char* saved;  // null: cancelled
    bool asked;
  } cases[] = {
      {SaveType::Dump, "C:\\out\\state", "", true, "C:\\out\\state.syx", false},
      {SaveType::Dump, "C:\\out\\state", "C:\\out\\state.syx", true, "C:\\out\\state.syx", true},
      {SaveType::Dump, "C:\\out\\state", "C:\\out\\state.syx", false, nullptr, true},
      {SaveType::Dump, "C:\\out\\state.mid", "C:\\out\\state.mid", true, "C:\\out\\state.mid", false},
      {SaveType::Dump, "C:\\out.d\\state", "", true, "C:\\out.d\\state.syx", false},
      {SaveType::MidiFile, "C:\\out\\state", "C:\\out\\state.syx", true, "C:\\out\\state", false},
      {SaveType::AnyFile, "C:\\out\\state", "C:\\out\\state.syx", true, "C:\\out\\state", false},
  };
  for (const Case& c : cases) {
    SaveBench bench;
    bench.ui.chosen = c.typed;
    bench.ui.chosenType = c.type;
    bench.ui.replace = c.replace;
    bench.file.existing = c.existing;
    EXPECT_EQ(bench.Save(), c.saved ? kExportSaved : kExportCancelled) << c.typed;
    Journal expected = {"choose 260"};
    if (c.asked) expected.push_back(std::string("replace? ") + c.existing);
    if (c.saved) expected.push_back(std::string("create ") + c.saved);
    expected.resize(std::min(bench.journal.size(), expected.size()));
    bench.journal.resize(expected.size());
    EXPECT_EQ(bench.journal, expected) << c.typed;
  }
}

}  // namespace
