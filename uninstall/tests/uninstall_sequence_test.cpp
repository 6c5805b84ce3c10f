#include "uninstall/uninstall_sequence.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "uninstall/rename_section.h"
#include "uninstall/tests/fake_folder_tree.h"

namespace {

using Calls = std::vector<std::string>;

const char* RootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM";
}

// Records every platform call in order; the folders share the record. Each field below sets the
// outcome of one call.
class RecordingPlatform : public UninstallPlatform {
 public:
  RecordingPlatform() : folders(&calls) {}

  bool keyOpens = true;
  bool valueRead = true;
  std::string value = "D:\\Tools\\Corvane\\ucorvane.exe";
  std::string currentDirectory = "C:\\Cwd";
  uint32_t currentDirectoryResult = UINT32_MAX;  // default: the length
  std::set<std::string> existingFiles{"D:\\Tools\\Corvane\\Corvane.exe", "D:\\Tools\\Corvane\\Corvane.hlp",
                                      "D:\\Tools\\Corvane\\Corvane.gid", "D:\\Tools\\Corvane\\Corvane.cnt"};
  std::map<std::string, uint32_t> deleteErrors;  // files that exist but cannot be deleted
  int32_t comResult = 0;
  bool allocatorAcquired = true;
  bool desktopLocated = true;
  std::string desktopPath = "C:\\Desk";
  bool linkCreated = true;
  bool sectionAllocated = true;
  std::string windowsDirectory = "C:\\WINDOWS";
  std::vector<std::string> sectionLines{"NUL=D:\\TEMP\\OLD.TMP"};
  uint32_t sectionCountOverride = UINT32_MAX;
  bool sectionWritten = true;
  bool ntFamily = false;  // the 9x family: nothing beyond the rename file
  std::set<std::string> refusedAtBoot;

  Calls calls;
  FakeFolderTree folders;
  std::vector<std::string> writtenLines;
  bool bufferFreed = false;

  void DeleteKey(RegistryRoot root, const char* path) override {
    calls.push_back(std::string("DeleteKey ") + RootName(root) + " " + path);
  }
  Key OpenKey(RegistryRoot root, const char* path) override {
    calls.push_back(std::string("OpenKey ") + RootName(root) + " " + path);
    return keyOpens ? &keyOpens : nullptr;
  }
  bool QueryValue(Key key, const char* name, char* buffer, uint32_t size) override {
    EXPECT_EQ(key, &keyOpens);
    EXPECT_EQ(size, 260u);
    calls.push_back(std::string("QueryValue ") + name);
    if (valueRead) memcpy(buffer, value.c_str(), value.size() + 1);
    return valueRead;
  }
  void CloseKey(Key key) override {
    EXPECT_EQ(key, &keyOpens);
    calls.push_back("CloseKey");
  }
  uint32_t CurrentDirectory(char* buffer, uint32_t size) override {
    calls.push_back("CurrentDirectory");
    if (currentDirectoryResult != UINT32_MAX) return currentDirectoryResult;
    memcpy(buffer, currentDirectory.c_str(), std::min<size_t>(currentDirectory.size() + 1, size));
    return static_cast<uint32_t>(currentDirectory.size());
  }
  FileDeletion DeleteFileReporting(const char* path) override {
    calls.push_back(std::string("DeleteFile ") + path);
    auto error = deleteErrors.find(path);
    if (error != deleteErrors.end()) return {false, error->second};
    if (existingFiles.erase(path) == 0) return {false, kErrorFileNotFound};
    return {true, 0};
  }
  int32_t InitializeCom() override {
    calls.push_back("CoInitialize");
    return comResult;
  }
  void UninitializeCom() override { calls.push_back("CoUninitialize"); }
  bool AcquireShellAllocator() override {
    calls.push_back("SHGetMalloc");
    return allocatorAcquired;
  }
  void ReleaseShellAllocator() override { calls.push_back("ReleaseAllocator"); }
  bool LocateDesktopFolder() override {
    calls.push_back("LocateDesktop");
    return desktopLocated;
  }
  void ReadDesktopFolderPath(char* path) override {
    calls.push_back("ReadDesktopPath");
    memcpy(path, desktopPath.c_str(), desktopPath.size() + 1);
  }
  bool CreateLinkObject() override {
    calls.push_back("CreateLink");
    return linkCreated;
  }
  void ReleaseLinkObject() override { calls.push_back("ReleaseLink"); }
  FolderEnvironment& Folders() override { return folders; }
  char* AllocateSectionBuffer() override {
    calls.push_back("AllocateSection");
    return sectionAllocated ? section_ : nullptr;
  }
  void FreeSectionBuffer(char* buffer) override {
    EXPECT_EQ(buffer, section_);
    calls.push_back("FreeSection");
  }
  uint32_t WindowsDirectory(char* buffer, uint32_t size) override {
    EXPECT_EQ(size, 247u);
    calls.push_back("WindowsDirectory");
    if (windowsDirectory.size() >= size) return static_cast<uint32_t>(windowsDirectory.size() + 1);
    memcpy(buffer, windowsDirectory.c_str(), windowsDirectory.size() + 1);
    return static_cast<uint32_t>(windowsDirectory.size());
  }
  uint32_t ReadProfileSection(const char* section, char* buffer, uint32_t size,
                              const char* file) override {
    EXPECT_EQ(size, 4096u);
    calls.push_back(std::string("ReadSection ") + section + " " + file);
    uint32_t count = 0;
    for (const std::string& line : sectionLines) {
      memcpy(buffer + count, line.c_str(), line.size() + 1);
      count += static_cast<uint32_t>(line.size() + 1);
    }
    buffer[count] = '\0';
    return sectionCountOverride != UINT32_MAX ? sectionCountOverride : count;
  }
  bool WriteProfileSection(const char* section, const char* lines, const char* file) override {
    calls.push_back(std::string("WriteSection ") + section + " " + file);
    for (const char* at = lines; *at != '\0'; at += strlen(at) + 1) writtenLines.emplace_back(at);
    return sectionWritten;
  }
  bool IsNtFamily() override { return ntFamily; }
  bool ScheduleDeletionAtBoot(const char* path) override {
    calls.push_back(std::string("BootDelete ") + path);
    return refusedAtBoot.count(path) == 0;
  }
  void ShowMessage(const char* text, const char* caption) override {
    calls.push_back(std::string("Message ") + text + " | " + caption);
  }

 private:
  char section_[kSectionCapacity];
};

struct Uninstalled {
  RecordingPlatform& platform;
  UninstallState state{};
  explicit Uninstalled(RecordingPlatform& p) : platform(p) { RunUninstall(state, platform); }
};

void AddInstallDir(RecordingPlatform& platform, const std::string& dir) {
  platform.folders.AddFolder(dir);
  platform.folders.AddFile(dir + "\\ucorvane.exe");
}

int Count(const Calls& calls, const std::string& prefix) {
  int count = 0;
  for (const std::string& call : calls) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

Calls Without(const Calls& calls, const std::string& prefix) {
  Calls kept;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) != 0) kept.push_back(call);
  }
  return kept;
}

const char kHkcu[] = "DeleteKey HKCU Software\\Corvane";
const char kOpen[] = "OpenKey HKLM SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";
const char kDeleteEntry[] =
    "DeleteKey HKLM SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";
const char kRead[] = "ReadSection Rename C:\\WINDOWS\\WININIT.INI";
const char kWrite[] = "WriteSection Rename C:\\WINDOWS\\WININIT.INI";

TEST(RunUninstall, FullRunCallsEverythingInOrder) {
  RecordingPlatform platform;
  AddInstallDir(platform, "D:\\Tools\\Corvane");
  platform.folders.AddFolder("C:\\Desk");
  platform.folders.AddFolder("C:\\Desk\\Both");
  platform.folders.AddShortcut("C:\\Desk\\Both\\Corvane.lnk", "D:\\Tools\\Corvane\\Corvane.exe");
  platform.folders.AddShortcut("C:\\Desk\\Both\\Help.lnk", "d:\\tools\\corvane\\CORVANE.HLP");
  Uninstalled run(platform);

  EXPECT_EQ(platform.calls,
            (Calls{kHkcu, kOpen, "QueryValue UninstallString", "CloseKey", kDeleteEntry,
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.exe",
                   "CoInitialize", "SHGetMalloc", "LocateDesktop", "ReadDesktopPath", "CreateLink",
                   "search C:\\Desk\\*.*", "search C:\\Desk\\Both\\*.*",
                   "read C:\\Desk\\Both\\Corvane.lnk", "delete C:\\Desk\\Both\\Corvane.lnk",
                   "read C:\\Desk\\Both\\Help.lnk",
                   "search C:\\Desk\\*.*", "search C:\\Desk\\Both\\*.*",
                   "read C:\\Desk\\Both\\Help.lnk", "delete C:\\Desk\\Both\\Help.lnk",
                   "rmdir C:\\Desk\\Both",
                   "ReleaseLink", "ReleaseAllocator", "CoUninitialize",
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.hlp",
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.gid",
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.cnt",
                   "search D:\\Tools\\Corvane\\*.*",
                   "AllocateSection", "WindowsDirectory", kRead, kWrite, "FreeSection"}));
  EXPECT_EQ(platform.writtenLines,
            (Calls{"NUL=D:\\TEMP\\OLD.TMP", "NUL=D:\\Tools\\Corvane\\ucorvane.exe",
                   "NUL=D:\\Tools\\Corvane"}));
  EXPECT_TRUE(platform.existingFiles.empty());
  EXPECT_EQ(platform.folders.Paths(), (Calls{"C:\\Desk", "D:\\Tools\\Corvane",
                                             "D:\\Tools\\Corvane\\ucorvane.exe"}));
  EXPECT_EQ(platform.folders.OpenSearches(), 0);
}

TEST(RunUninstall, PrefixKeepsTheValuesCaseButTheUninstallerNameIsItsOwn) {
  RecordingPlatform platform;
  platform.value = "D:\\TOOLS\\CORVANE\\UCORVANE.EXE";
  platform.folders.AddFolder("D:\\TOOLS\\CORVANE");
  platform.folders.AddFile("D:\\TOOLS\\CORVANE\\UCORVANE.EXE");
  Uninstalled run(platform);
  EXPECT_EQ(std::string(run.state.programPath), "D:\\TOOLS\\CORVANE\\ucorvane.exe");
  EXPECT_EQ(platform.writtenLines,
            (Calls{"NUL=D:\\TEMP\\OLD.TMP", "NUL=D:\\TOOLS\\CORVANE\\ucorvane.exe",
                   "NUL=D:\\TOOLS\\CORVANE"}));
}

TEST(RunUninstall, UnusableUninstallEntryFallsBackToTheCurrentDirectory) {
  struct Case {
    bool opens;
    bool read;
    std::string value;
  };
  for (const Case& c : {Case{false, false, ""}, Case{true, false, ""}, Case{true, true, ""},
                        Case{true, true, "ucorvane.exe"}}) {
    RecordingPlatform platform;
    platform.keyOpens = c.opens;
    platform.valueRead = c.read;
    platform.value = c.value;
    Uninstalled run(platform);
    Calls expected{kHkcu, kOpen};
    if (c.opens) expected.insert(expected.end(), {"QueryValue UninstallString", "CloseKey", kDeleteEntry});
    expected.insert(expected.end(), {"CurrentDirectory", "DeleteFile C:\\Cwd\\Corvane.exe"});
    Calls head(platform.calls.begin(), platform.calls.begin() + expected.size());
    EXPECT_EQ(head, expected) << c.value;
    EXPECT_EQ(std::string(run.state.programPath), "C:\\Cwd\\ucorvane.exe");
  }
}

TEST(RunUninstall, ShortValueIsUsedAsWrittenAndQuotedValueWithoutQuotes) {
  RecordingPlatform shortValue;
  shortValue.value = "D:\\X";
  Uninstalled first(shortValue);
  EXPECT_NE(std::find(shortValue.calls.begin(), shortValue.calls.end(), "DeleteFile D:\\XCorvane.exe"),
            shortValue.calls.end());
  EXPECT_EQ(std::string(first.state.workPath), "D:\\");  // the prefix less its last character

  RecordingPlatform quoted;
  quoted.value = "\"D:\\Tools\\Corvane\\ucorvane.exe\"";
  Uninstalled second(quoted);
  EXPECT_EQ(std::string(second.state.programPath), "D:\\Tools\\Corvane\\ucorvane.exe");
}

TEST(RunUninstall, NoInstallDirectorySchedulesNothingAndReportsIt) {
  RecordingPlatform platform;
  platform.keyOpens = false;
  platform.currentDirectoryResult = 0;
  Uninstalled run(platform);
  Calls files = Without(platform.calls, "search");
  EXPECT_NE(std::find(files.begin(), files.end(), "DeleteFile Corvane.exe"), files.end());
  EXPECT_EQ(Calls(files.end() - 4, files.end()),
            (Calls{"DeleteFile Corvane.hlp", "DeleteFile Corvane.gid", "DeleteFile Corvane.cnt",
                   "Message  | Can't delete the directory named"}));
  EXPECT_EQ(std::find(files.begin(), files.end(), "AllocateSection"), files.end());
}

TEST(RunUninstall, FileThatCannotBeDeletedIsReportedAndTheSequenceGoesOn) {
  RecordingPlatform platform;
  AddInstallDir(platform, "D:\\Tools\\Corvane");
  platform.deleteErrors["D:\\Tools\\Corvane\\Corvane.hlp"] = 5;  // access denied
  platform.deleteErrors["D:\\Tools\\Corvane\\Corvane.gid"] = 3;  // path not found
  platform.existingFiles.erase("D:\\Tools\\Corvane\\Corvane.cnt");
  Uninstalled run(platform);
  Calls tail = Without(platform.calls, "search");
  auto at = std::find(tail.begin(), tail.end(), "DeleteFile D:\\Tools\\Corvane\\Corvane.hlp");
  ASSERT_NE(at, tail.end());
  EXPECT_EQ(Calls(at, at + 5),
            (Calls{"DeleteFile D:\\Tools\\Corvane\\Corvane.hlp",
                   "Message D:\\Tools\\Corvane\\Corvane.hlp | Can't delete the file named:",
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.gid",
                   "Message D:\\Tools\\Corvane\\Corvane.gid | Can't delete the file named:",
                   "DeleteFile D:\\Tools\\Corvane\\Corvane.cnt"}));
  EXPECT_EQ(tail.back(), "FreeSection");
  EXPECT_EQ(platform.writtenLines.size(), 3u);
}

TEST(RunUninstall, ComAlreadyInitialisedSkipsTheWholeShortcutPhase) {
  RecordingPlatform platform;
  AddInstallDir(platform, "D:\\Tools\\Corvane");
  platform.comResult = 1;  // S_FALSE
  Uninstalled run(platform);
  auto co = std::find(platform.calls.begin(), platform.calls.end(), "CoInitialize");
  ASSERT_NE(co, platform.calls.end());
  EXPECT_EQ(*(co + 1), "DeleteFile D:\\Tools\\Corvane\\Corvane.hlp");
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "CoUninitialize"), 0);
  EXPECT_TRUE(platform.existingFiles.empty());
  EXPECT_EQ(platform.writtenLines.size(), 3u);
}

TEST(RunUninstall, ShellFailuresReleaseWhatWasObtained) {
  auto phase = [](RecordingPlatform& platform) {
    Uninstalled run(platform);
    auto from = std::find(platform.calls.begin(), platform.calls.end(), "CoInitialize");
    auto to = std::find(platform.calls.begin(), platform.calls.end(),
                        "DeleteFile D:\\Tools\\Corvane\\Corvane.hlp");
    return Calls(from, to);
  };
  RecordingPlatform noAllocator;
  noAllocator.allocatorAcquired = false;
  EXPECT_EQ(phase(noAllocator), (Calls{"CoInitialize", "SHGetMalloc", "CoUninitialize"}));

  RecordingPlatform noDesktop;
  noDesktop.desktopLocated = false;
  EXPECT_EQ(phase(noDesktop), (Calls{"CoInitialize", "SHGetMalloc", "LocateDesktop",
                                     "ReleaseAllocator", "CoUninitialize"}));

  RecordingPlatform noLink;
  noLink.linkCreated = false;
  noLink.folders.AddFolder("C:\\Desk");
  EXPECT_EQ(phase(noLink), (Calls{"CoInitialize", "SHGetMalloc", "LocateDesktop",
                                  "ReadDesktopPath", "CreateLink", "ReleaseAllocator",
                                  "CoUninitialize"}));

  // A desktop without a file-system path is not swept: the walk would start at a drive root.
  for (const std::string path : {"", "\\"}) {
    RecordingPlatform noPath;
    noPath.desktopPath = path;
    EXPECT_EQ(phase(noPath), (Calls{"CoInitialize", "SHGetMalloc", "LocateDesktop",
                                    "ReadDesktopPath", "ReleaseAllocator", "CoUninitialize"}));
  }
}

TEST(RunUninstall, DesktopPathLosesItsTrailingBackslash) {
  RecordingPlatform platform;
  platform.desktopPath = "C:\\Desk\\";
  platform.folders.AddFolder("C:\\Desk");
  Uninstalled run(platform);
  EXPECT_EQ(Count(platform.calls, "search C:\\Desk\\*.*"), 2);
}

TEST(RunUninstall, SchedulingFailuresReportTheDirectoryAndScheduleNothing) {
  RecordingPlatform noBuffer;
  noBuffer.sectionAllocated = false;
  AddInstallDir(noBuffer, "D:\\Tools\\Corvane");
  Uninstalled first(noBuffer);
  Calls tail(noBuffer.calls.end() - 3, noBuffer.calls.end());
  EXPECT_EQ(tail, (Calls{"search D:\\Tools\\Corvane\\*.*", "AllocateSection",
                         "Message D:\\Tools\\Corvane | Can't delete the directory named"}));

  RecordingPlatform full;
  full.sectionCountOverride = 3576;
  Uninstalled second(full);
  EXPECT_EQ(Calls(full.calls.end() - 5, full.calls.end()),
            (Calls{"AllocateSection", "WindowsDirectory", kRead,
                   "Message D:\\Tools\\Corvane | Can't delete the directory named",
                   "FreeSection"}));

  RecordingPlatform refused;
  refused.sectionWritten = false;
  Uninstalled third(refused);
  EXPECT_EQ(Calls(refused.calls.end() - 3, refused.calls.end()),
            (Calls{kWrite, "Message D:\\Tools\\Corvane | Can't delete the directory named",
                   "FreeSection"}));
}

TEST(RunUninstall, SectionAt3575IsStillExtended) {
  RecordingPlatform platform;
  platform.sectionLines = {std::string(3574, 'x')};
  Uninstalled run(platform);
  EXPECT_EQ(platform.calls.back(), "FreeSection");
  EXPECT_EQ(platform.writtenLines,
            (Calls{std::string(3574, 'x'), "NUL=D:\\Tools\\Corvane\\ucorvane.exe"}));
}

TEST(RunUninstall, InstallDirectoryWithOtherContentGetsOnlyTheUninstallerLine) {
  RecordingPlatform platform;
  AddInstallDir(platform, "D:\\Tools\\Corvane");
  platform.folders.AddFolder("D:\\Tools\\Corvane\\Data");
  Uninstalled run(platform);
  EXPECT_EQ(platform.writtenLines,
            (Calls{"NUL=D:\\TEMP\\OLD.TMP", "NUL=D:\\Tools\\Corvane\\ucorvane.exe"}));
}

TEST(RunUninstall, NtFamilyAlsoUsesItsBootListAndReportsARefusalOnce) {
  const std::string file = "D:\\Tools\\Corvane\\ucorvane.exe", dir = "D:\\Tools\\Corvane";
  const std::string bootFile = "BootDelete " + file, bootDir = "BootDelete " + dir;
  const std::string message = "Message " + dir + " | Can't delete the directory named";
  struct Case {
    bool nt, empty, sectionWritten;
    std::set<std::string> refused;
    Calls fromWrite;
  };
  for (const Case& c : {
           Case{false, true, true, {}, {kWrite, "FreeSection"}},
           Case{true, true, true, {}, {kWrite, "FreeSection", bootFile, bootDir}},
           Case{true, false, true, {}, {kWrite, "FreeSection", bootFile}},
           Case{true, true, true, {file}, {kWrite, "FreeSection", bootFile, message}},
           Case{true, true, true, {dir}, {kWrite, "FreeSection", bootFile, bootDir, message}},
           Case{true, true, false, {}, {kWrite, message, "FreeSection", bootFile, bootDir}},
           Case{true, true, false, {file}, {kWrite, message, "FreeSection", bootFile}}}) {
    RecordingPlatform platform;
    platform.ntFamily = c.nt;
    platform.sectionWritten = c.sectionWritten;
    platform.refusedAtBoot = c.refused;
    if (c.empty) AddInstallDir(platform, "D:\\Tools\\Corvane");
    Uninstalled run(platform);
    auto write = std::find(platform.calls.begin(), platform.calls.end(), kWrite);
    EXPECT_EQ(Calls(write, platform.calls.end()), c.fromWrite) << c.nt << c.empty << c.refused.size();
    EXPECT_EQ(platform.writtenLines.size(), c.empty ? 3u : 2u);  // the rename lines as ever
  }

  RecordingPlatform nowhere;  // no install directory known: nothing to put on the list
  nowhere.ntFamily = true;
  nowhere.keyOpens = false;
  nowhere.currentDirectoryResult = 0;
  Uninstalled run(nowhere);
  EXPECT_EQ(Count(nowhere.calls, "BootDelete"), 0);
  EXPECT_EQ(Count(nowhere.calls, "Message"), 1);
}

TEST(RunUninstall, WindowsDirectoryFormsOfTheProfilePath) {
  struct Case {
    std::string directory;
    std::string file;
  };
  for (const Case& c : {Case{"C:\\", "C:\\WININIT.INI"}, Case{"", "WININIT.INI"},
                        Case{std::string(246, 'w'), std::string(246, 'w') + "\\WININIT.INI"},
                        Case{std::string(247, 'w'), "WININIT.INI"}}) {
    RecordingPlatform platform;
    platform.windowsDirectory = c.directory;
    Uninstalled run(platform);
    EXPECT_EQ(std::string(run.state.profilePath), c.file);
  }
}

}  // namespace
