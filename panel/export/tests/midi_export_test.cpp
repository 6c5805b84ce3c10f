// The "Save &MIDI" sequence: what happens to the file, the caption and the memory on each outcome.
#include "panel/export/midi_export.h"

#include <gtest/gtest.h>

#include <cstring>

#include "panel/export/export_file.h"
#include "panel/export/export_ui.h"
#include "panel/export/tests/export_bench.h"

namespace {

using Journal = std::vector<std::string>;

class ScriptedUi : public ExportUi {
 public:
  explicit ScriptedUi(Journal& journal) : journal_(journal) {}
  bool ChoosePath(char* path, size_t size) override {
    journal_.push_back("choose " + std::to_string(size));
    if (chosen == nullptr) return false;
    strncpy(path, chosen, size);
    return true;
  }
  void ShowCaption(int stringId) override { journal_.push_back("caption " + std::to_string(stringId)); }
  void ReportError(int stringId) override { journal_.push_back("error " + std::to_string(stringId)); }

  const char* chosen = "C:\\out\\state.mid";

 private:
  Journal& journal_;
};

// A file in memory: what was written survives until it is deleted.
class MemoryFile : public ExportFile {
 public:
  explicit MemoryFile(Journal& journal) : journal_(journal) {}
  bool Create(const char* path) override {
    journal_.push_back(std::string("create ") + path);
    if (!creatable) return false;
    open_ = true;
    exists = true;
    contents.clear();
    return true;
  }
  bool Write(const uint8_t* data, uint32_t size, uint32_t* written) override {
    journal_.push_back("write " + std::to_string(size));
    const uint32_t n = shortBy < size ? size - shortBy : 0;
    contents.insert(contents.end(), data, data + n);
    *written = n;
    return !writeFails;
  }
  void Close() override {
    journal_.push_back("close");
    open_ = false;
  }
  void Delete(const char* path) override {
    journal_.push_back(std::string("delete ") + path);
    if (open_) return;  // an open, unshared file cannot be deleted
    exists = false;
    contents.clear();
  }

  bool creatable = true;
  bool writeFails = false;
  uint32_t shortBy = 0;
  bool exists = false;
  Bytes contents;

 private:
  Journal& journal_;
  bool open_ = false;
};

struct SaveBench : ExportBench {
  Journal journal;
  ScriptedUi ui{journal};
  MemoryFile file{journal};

  SaveBench() { Open(); }
  int Save() { return SaveMidiFile(controller, ui, file, memory); }

  void ExpectLiveWithoutBuffer() {
    EXPECT_EQ(sink.state.cursor, nullptr);
    EXPECT_EQ(sink.state.bufferStart, nullptr);
    EXPECT_EQ(memory.obtained, memory.released);
    const size_t before = card.EventCount();
    controller.OnChannelClicked(1024 + 3);
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
