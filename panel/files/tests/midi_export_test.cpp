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

}  // namespace
