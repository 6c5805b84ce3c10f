// The export's Win32 layer on a real system: the file and page adapters, the save sequence with a
// failure injected into the real file layer or the memory, and the dialogs the user sees.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "panel/files/export_file_win32.h"
#include "panel/files/export_ui_win32.h"
#include "panel/files/image_memory_win32.h"
#include "panel/files/midi_export.h"
#include "panel/files/midi_image.h"
#include "panel/files/settings_file_win32.h"
#include "panel/files/export_strings.h"
#include "panel/files/tests/export_bench.h"

namespace {

// The button whose caption the export shows its progress in, as the panel has it.
constexpr int kSaveButton = 1040;

// A folder of the test's own under the system's temporary folder, removed with what it holds.
class ScratchFolder {
 public:
  ScratchFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "export-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter_++);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          const std::string file = path_ + "\\" + found.cFileName;
          SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(file.c_str());
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string File(const char* name) const { return path_ + "\\" + name; }

 private:
  static inline int counter_ = 0;
  std::string path_;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Bytes ReadAll(const std::string& path) {
  Bytes bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  uint8_t chunk[512];
  DWORD n = 0;
  while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  CloseHandle(file);
  return bytes;
}

void WriteAll(const std::string& path, const Bytes& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(file);
}

Bytes DefaultImage() {
  ExportBench bench;
  bench.Open();
  return bench.Build();
}

// --- the file layer ---

TEST(Win32ExportFile, CreatesAnewWritesAndDeletes) {
  ScratchFolder folder;
  const std::string path = folder.File("state.mid");
  WriteAll(path, Bytes(1000, 0x55));

  Win32ExportFile file;
  ASSERT_TRUE(file.Create(path.c_str()));
  // Not shared while it is being written.
  HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(other, INVALID_HANDLE_VALUE);
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

  const uint8_t data[3] = {1, 2, 3};
  uint32_t written = 0;
  EXPECT_TRUE(file.Write(data, sizeof data, &written));
  EXPECT_EQ(written, 3u);
  file.Close();
  file.Close();
  EXPECT_EQ(ReadAll(path), (Bytes{1, 2, 3}));  // the longer old file is gone

  file.Delete(path.c_str());
  EXPECT_FALSE(Exists(path));
}

TEST(Win32ExportFile, CannotCreateInAMissingFolder) {
  ScratchFolder folder;
  Win32ExportFile file;
  EXPECT_FALSE(file.Create(folder.File("missing\\state.mid").c_str()));
  EXPECT_FALSE(Exists(folder.File("missing")));
}

// --- the page memory ---

TEST(PageImageMemory, GivesCommittedZeroedReadWritePagesAndTakesThemBack) {
  PageImageMemory memory;
  uint8_t* block = memory.Obtain(kImageBufferSize);
  ASSERT_NE(block, nullptr);
  MEMORY_BASIC_INFORMATION info = {};
  ASSERT_NE(VirtualQuery(block, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READWRITE));
  EXPECT_GE(info.RegionSize, kImageBufferSize);
  for (size_t i = 0; i < kImageBufferSize; ++i) ASSERT_EQ(block[i], 0) << i;
  memset(block, 0xA5, kImageBufferSize);

  memory.Release(block);
  ASSERT_NE(VirtualQuery(block, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

// --- the save sequence with the real file layer ---

class ChosenPathUi : public ExportUi {
 public:
  explicit ChosenPathUi(std::string path) : path_(std::move(path)) {}
  bool ChoosePath(char* path, size_t size, SaveType* type) override {
    strncpy(path, path_.c_str(), size - 1);
    path[size - 1] = '\0';
    *type = SaveType::MidiFile;
    return true;
  }
  bool ConfirmReplace(const char*) override { return true; }
  void ShowCaption(int stringId) override { captions.push_back(stringId); }
  void ReportError(int stringId) override { errors.push_back(stringId); }

  std::vector<int> captions;
  std::vector<int> errors;

 private:
  std::string path_;
};

// The real file, with the write cut short or failed after part of the image reached the disk.
class FailingWriteFile : public Win32ExportFile {
 public:
  FailingWriteFile(uint32_t keep, bool reportFailure) : keep_(keep), reportFailure_(reportFailure) {}
  bool Write(const uint8_t* data, uint32_t size, uint32_t* written) override {
    const bool ok = Win32ExportFile::Write(data, keep_ < size ? keep_ : size, written);
    return ok && !reportFailure_;
  }

 private:
  uint32_t keep_;
  bool reportFailure_;
};

// The system's pages, counting what is given and given back.
class CountedPages : public PageImageMemory {
 public:
  uint8_t* Obtain(size_t size) override {
    uint8_t* block = PageImageMemory::Obtain(size);
    if (block) ++held;
    return block;
  }
  void Release(uint8_t* block) override {
    --held;
    PageImageMemory::Release(block);
  }
  int held = 0;
};

class NoPages : public ImageMemory {
 public:
  uint8_t* Obtain(size_t) override { return nullptr; }
  void Release(uint8_t*) override { ADD_FAILURE() << "nothing was obtained"; }
};

struct SaveCase {
  ExportBench bench;
  ScratchFolder folder;
  std::string path = folder.File("state.mid");
  ChosenPathUi ui{path};
  CountedPages pages;

  int Save(ExportFile& file, ImageMemory& memory) {
    return SaveMidiFile(bench.Input(), ui, file, memory);
  }
};

TEST(SaveMidiFileOnDisk, WritesTheImageAndOverwritesItIdentically) {
  SaveCase c;
  c.bench.Open();
  Win32ExportFile file;
  ASSERT_EQ(c.Save(file, c.pages), kExportSaved);
  const Bytes first = ReadAll(c.path);
  EXPECT_EQ(first, DefaultImage());
  EXPECT_EQ(first.size(), 302u);
  ASSERT_EQ(c.Save(file, c.pages), kExportSaved);
  EXPECT_EQ(ReadAll(c.path), first);
  EXPECT_EQ(c.ui.captions, (std::vector<int>{IDS_SAVING, IDS_SAVE_MIDI, IDS_SAVING, IDS_SAVE_MIDI}));
  EXPECT_TRUE(c.ui.errors.empty());
  EXPECT_EQ(c.pages.held, 0);
}

TEST(SaveMidiFileOnDisk, ShortOrFailedWriteLeavesNoPartialFile) {
  const struct {
    uint32_t keep;
    bool fails;
  } cases[] = {{150, false}, {0, false}, {301, false}, {150, true}, {302, true}};
  for (const auto& injected : cases) {
    SaveCase c;
    c.bench.Open();
    FailingWriteFile file(injected.keep, injected.fails);
    EXPECT_EQ(c.Save(file, c.pages), kExportWriteFailed) << injected.keep << " " << injected.fails;
    EXPECT_FALSE(Exists(c.path)) << injected.keep << " " << injected.fails;
    EXPECT_EQ(c.ui.errors, std::vector<int>{IDS_WRITE_FAILED});
    EXPECT_EQ(c.pages.held, 0);
  }
}

TEST(SaveMidiFileOnDisk, NoMemoryDeletesTheCreatedFile) {
  SaveCase c;
  c.bench.Open();
  WriteAll(c.path, Bytes(50, 1));  // an older export under the same name is replaced, then removed
  Win32ExportFile file;
  NoPages none;
  EXPECT_EQ(c.Save(file, none), kExportNoMemory);
  EXPECT_FALSE(Exists(c.path));
  EXPECT_EQ(c.ui.errors, std::vector<int>{IDS_NO_MEMORY});
  EXPECT_EQ(c.ui.captions, (std::vector<int>{IDS_SAVING, IDS_SAVE_MIDI}));
}

// --- the dialogs ---

// A stand-in for the panel: a top-level window captioned "Tambrel" with the "Save &MIDI" button.
class PanelWindow {
 public:
  PanelWindow() {
    window_ = CreateWindowExA(0, "STATIC", "Tambrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    button_ = CreateWindowExA(0, "BUTTON", "Save &MIDI", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                              window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSaveButton)),
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~PanelWindow() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  std::string ButtonText() const {
    char text[64] = {};
    GetWindowTextA(button_, text, sizeof text);
    return text;
  }

 private:
  HWND window_;
  HWND button_;
};

// Runs `act` on a helper thread once a window of ours with this class and caption exists (it
// gives up after a while so a missing window fails instead of hanging the test).
std::thread WhenWindowAppears(const char* caption, std::function<void(HWND)> act) {
  return std::thread([caption, act] {
    for (int i = 0; i < 1000; ++i) {
      HWND found = FindWindowA("#32770", caption);
      DWORD process = 0;
      if (found) GetWindowThreadProcessId(found, &process);
      if (found && process == GetCurrentProcessId() && IsWindowVisible(found)) {
        act(found);
        return;
      }
      Sleep(10);
    }
  });
}

struct OwnedBoxSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchOwnedBox(HWND window, LPARAM param) {
  OwnedBoxSearch* search = reinterpret_cast<OwnedBoxSearch*>(param);
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (strcmp(cls, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible dialog-class window owned by `owner` (a message box it shows), or null.
HWND OwnedBox(HWND owner) {
  OwnedBoxSearch search = {owner, nullptr};
  EnumWindows(MatchOwnedBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(DialogExportUi, CaptionComesFromTheStringTable) {
  PanelWindow panel;
  DialogExportUi ui(panel.Handle(), kSaveButton, GetModuleHandleA(nullptr));
  ui.ShowCaption(IDS_SAVING);
  EXPECT_EQ(panel.ButtonText(), "Saving...");
  ui.ShowCaption(IDS_SAVE_MIDI);
  EXPECT_EQ(panel.ButtonText(), "Save &MIDI");
}

TEST(DialogExportUi, FailureBoxShowsTheTextWithItsNumberAsHelpContext) {
  const struct {
    int id;
    const char* text;
  } cases[] = {{IDS_CANNOT_CREATE, "Can't create the MIDI file!"},
               {IDS_WRITE_FAILED, "Error writing to the MIDI file!"},
               {IDS_NO_MEMORY, "Can't allocate memory!"}};
  for (const auto& expected : cases) {
    PanelWindow panel;
    DialogExportUi ui(panel.Handle(), kSaveButton, GetModuleHandleA(nullptr));
    std::string text;
    DWORD helpContext = 0;
    bool exclamation = false;
    HWND owner = nullptr;
    std::thread helper = WhenWindowAppears("Tambrel", [&](HWND box) {
      text = ItemText(box, 0xFFFF);
      helpContext = GetWindowContextHelpId(box);
      owner = GetWindow(box, GW_OWNER);
      // The icon static of a message box shows the system's exclamation icon.
      HICON shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
      exclamation = shown != nullptr && shown == LoadIconA(nullptr, MAKEINTRESOURCEA(32515));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ui.ReportError(expected.id);
    helper.join();
    EXPECT_EQ(text, expected.text);
    EXPECT_EQ(helpContext, static_cast<DWORD>(expected.id));
    EXPECT_EQ(owner, panel.Handle());
    EXPECT_TRUE(exclamation);
  }
}

TEST(DialogExportUi, SaveDialogFiltersMidiFilesAndHidesReadOnly) {
  ScratchFolder folder;
  const std::string path = folder.File("chosen.mid");
  PanelWindow panel;
  DialogExportUi ui(panel.Handle(), kSaveButton, GetModuleHandleA(nullptr));
  std::string firstType, secondType, thirdType;
  bool readOnlyShown = true;
  std::thread helper = WhenWindowAppears("Save As", [&](HWND dialog) {
    HWND types = GetDlgItem(dialog, 0x0470);  // the "Save as type" list
    char item[128] = {};
    SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    firstType = item;
    SendMessageA(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    secondType = item;
    SendMessageA(types, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(item));
    thirdType = item;
    HWND readOnly = GetDlgItem(dialog, 0x0410);
    readOnlyShown = readOnly != nullptr && IsWindowVisible(readOnly);
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  char chosen[260] = "left over";
  SaveType type = SaveType::AnyFile;
  EXPECT_TRUE(ui.ChoosePath(chosen, sizeof chosen, &type));
  helper.join();
  EXPECT_STRCASEEQ(chosen, path.c_str());
  EXPECT_EQ(type, SaveType::MidiFile);
  EXPECT_EQ(firstType, "MIDI files (*.mid)");
  EXPECT_EQ(secondType, "System-exclusive dump (*.syx)");
  EXPECT_EQ(thirdType, "All files (*.*)");
  EXPECT_FALSE(readOnlyShown);
}

TEST(DialogExportUi, SaveDialogAsksBeforeReplacingAndCancelChoosesNothing) {
  ScratchFolder folder;
  const std::string path = folder.File("existing.mid");
  WriteAll(path, Bytes{1});
  PanelWindow panel;
  DialogExportUi ui(panel.Handle(), kSaveButton, GetModuleHandleA(nullptr));

  std::string prompt;
  std::thread helper = WhenWindowAppears("Save As", [&](HWND dialog) {
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // The prompt is a message box owned by the save dialog; answer No, then cancel the dialog.
    for (int i = 0; i < 1000 && prompt.empty(); ++i) {
      Sleep(10);
      HWND box = OwnedBox(dialog);
      if (box) {
        prompt = ItemText(box, 0xFFFF);
        PostMessageA(box, WM_COMMAND, IDNO, 0);
      }
    }
    for (int i = 0; i < 1000 && !IsWindowEnabled(dialog); ++i) Sleep(10);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  char chosen[260] = {};
  SaveType type = SaveType::AnyFile;
  EXPECT_FALSE(ui.ChoosePath(chosen, sizeof chosen, &type));
  helper.join();
  EXPECT_NE(prompt.find("already exists"), std::string::npos) << prompt;
  EXPECT_EQ(ReadAll(path), Bytes{1});
}

// The dialog reports the type chosen with the name as typed; the question before a file is
// replaced is a box of the save dialog's caption over the panel, and its answer is the result.
TEST(DialogExportUi, ReportsTheChosenTypeAndAsksBeforeReplacing) {
  ScratchFolder folder;
  const std::string typed = folder.File("state");
  PanelWindow panel;
  DialogExportUi ui(panel.Handle(), kSaveButton, GetModuleHandleA(nullptr));
  std::thread helper = WhenWindowAppears("Save As", [&](HWND dialog) {
    HWND types = GetDlgItem(dialog, 0x0470);
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    // As a user's choice: the list tells its dialog that the selection is made.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x0470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  char chosen[260] = {};
  SaveType type = SaveType::MidiFile;
  EXPECT_TRUE(ui.ChoosePath(chosen, sizeof chosen, &type));
  helper.join();
  EXPECT_EQ(type, SaveType::Dump);
  EXPECT_STRCASEEQ(chosen, typed.c_str());

  for (int answer : {IDYES, IDNO}) {
    std::string prompt;
    HWND owner = nullptr;
    std::thread asker = WhenWindowAppears("Save As", [&](HWND box) {
      prompt = ItemText(box, 0xFFFF);
      owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, answer, 0);
    });
    EXPECT_EQ(ui.ConfirmReplace("C:\\out\\state.syx"), answer == IDYES);
    asker.join();
    EXPECT_EQ(prompt, "C:\\out\\state.syx already exists.\nReplace it?");
    EXPECT_EQ(owner, panel.Handle());
  }
}

// Whole files through the system's handles: exactly their bytes, even while another program reads
// them; a missing one cannot be read, and one over the limit is refused unread.
TEST(SystemFileReader, ReadsWholeFilesUpToTheLimit) {
  ScratchFolder folder;
  const Bytes level = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x00, 0x00, 0x01, 0x22, 0x5D, 0xF7};
  WriteAll(folder.File("level.syx"), level);
  WriteAll(folder.File("empty.syx"), Bytes{});
  WriteAll(folder.File("large.syx"), Bytes(kLargestSettingsFile + 1, 0xF7));
  WriteAll(folder.File("largest.syx"), Bytes(kLargestSettingsFile, 0xF7));
  // Another program has the file open for reading meanwhile.
  HANDLE other = CreateFileA(folder.File("level.syx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);

  const struct {
    const char* name;
    LoadOutcome outcome;
    size_t size;
  } cases[] = {
      {"level.syx", LoadOutcome::Loaded, level.size()},
      {"empty.syx", LoadOutcome::Loaded, 0},
      {"largest.syx", LoadOutcome::Loaded, kLargestSettingsFile},
      {"large.syx", LoadOutcome::TooLarge, 0},
      {"missing.syx", LoadOutcome::CannotRead, 0},
  };
  SystemFileReader reader;
  for (const auto& c : cases) {
    FileBytes bytes;
    ASSERT_EQ(reader.Read(folder.File(c.name).c_str(), &bytes), c.outcome) << c.name;
    if (c.outcome != LoadOutcome::Loaded) continue;
    EXPECT_EQ(bytes.size, c.size) << c.name;
    if (c.size == level.size()) EXPECT_EQ(Bytes(bytes.data, bytes.data + bytes.size), level);
    reader.Release(bytes);
  }
  CloseHandle(other);
}

}  // namespace
