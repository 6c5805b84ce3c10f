// The Win32 adapters against the real system (run under Wine in a fresh prefix): what the portable
// logic relies on holds for real folders, shortcut files, deletions, profile files and the registry.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "uninstall/folder_environment_win32.h"
#include "uninstall/rename_section.h"
#include "uninstall/shortcut_sweep.h"
#include "uninstall/uninstall_platform_win32.h"

namespace {

std::string TempFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void SaveLink(const std::string& link, const std::string& target) {
  IShellLinkA* shellLink = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&shellLink)), S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(shellLink->SetPath(target.c_str()), S_OK);
  ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  EXPECT_EQ(file->Save(wide, TRUE), S_OK) << link;
  file->Release();
  shellLink->Release();
}

// A shortcut to a shell item without a file-system path ("My Computer").
void SaveLinkWithoutPath(const std::string& link) {
  IShellLinkA* shellLink = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&shellLink)), S_OK);
  LPITEMIDLIST drives = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives), S_OK);
  ASSERT_EQ(shellLink->SetIDList(drives), S_OK);
  CoTaskMemFree(drives);
  IPersistFile* file = nullptr;
  ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  EXPECT_EQ(file->Save(wide, TRUE), S_OK) << link;
  file->Release();
  shellLink->Release();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class WithCom : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }
};

using FolderEnvironmentWin32 = WithCom;

TEST_F(FolderEnvironmentWin32, ListsEntriesAndReadsShortcutsWithTheirFailures) {
  std::string folder = TempFolder("listing");
  std::string target = folder + "\\Target.exe";
  WriteText(target, "program");
  CreateDirectoryA((folder + "\\Sub").c_str(), nullptr);
  WriteText(folder + "\\notes.txt", "text");
  WriteText(folder + "\\broken.lnk", "not a shortcut at all");
  SaveLink(folder + "\\good.lnk", target);
  SaveLinkWithoutPath(folder + "\\computer.lnk");

  Win32FolderEnvironment folders;
  ASSERT_TRUE(folders.CreateLinkObject());
  FolderEntry entry;
  std::set<std::string> files, directories;
  FolderEnvironment::Search search = folders.StartSearch((folder + "\\*.*").c_str(), entry);
  ASSERT_NE(search, nullptr);
  do {
    (entry.isDirectory ? directories : files).insert(entry.name);
  } while (folders.NextEntry(search, entry));
  folders.EndSearch(search);
  EXPECT_EQ(directories, (std::set<std::string>{".", "..", "Sub"}));
  EXPECT_EQ(files, (std::set<std::string>{"Target.exe", "notes.txt", "broken.lnk", "good.lnk",
                                           "computer.lnk"}));

  const char* read = nullptr;
  EXPECT_EQ(folders.ReadShortcut((folder + "\\good.lnk").c_str(), &read), ShortcutRead::kTarget);
  EXPECT_STREQ(read, target.c_str());
  EXPECT_EQ(folders.ReadShortcut((folder + "\\notes.txt").c_str(), &read), ShortcutRead::kNotShortcut);
  EXPECT_EQ(folders.ReadShortcut((folder + "\\broken.lnk").c_str(), &read), ShortcutRead::kNotLoaded);
  EXPECT_EQ(folders.ReadShortcut((folder + "\\computer.lnk").c_str(), &read), ShortcutRead::kNoTarget);
  EXPECT_NE(folders.ReadShortcut((folder + "\\missing.lnk").c_str(), &read), ShortcutRead::kTarget);
  folders.ReleaseLinkObject();

  EXPECT_EQ(folders.StartSearch((folder + "\\nowhere\\*.*").c_str(), entry), nullptr);
}

TEST_F(FolderEnvironmentWin32, SweepOverARealTree) {
  std::string desk = TempFolder("desk");
  std::string program = TempFolder("app") + "\\Corvane.exe";
  WriteText(program, "program");
  for (const char* sub : {"\\Outer", "\\Outer\\Inner", "\\Locked", "\\Mixed"}) {
    CreateDirectoryA((desk + sub).c_str(), nullptr);
  }
  SaveLink(desk + "\\Corvane.lnk", program);
  SaveLink(desk + "\\Outer\\Inner\\Corvane.lnk", program);
  SaveLink(desk + "\\Locked\\Corvane.lnk", program);
  SetFileAttributesA((desk + "\\Locked\\Corvane.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
  SaveLink(desk + "\\Mixed\\Corvane.lnk", program);
  SaveLink(desk + "\\Mixed\\Other.lnk", desk + "\\Mixed");

  Win32FolderEnvironment folders;
  ASSERT_TRUE(folders.CreateLinkObject());
  char workPath[kPathCapacity];
  strcpy(workPath, desk.c_str());
  std::string upper = program;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(ShortcutSweep({folders, workPath, upper.c_str()}, desk.size(), SWEEP_KEPT),
            SWEEP_KEPT | SWEEP_DELETED);
  folders.ReleaseLinkObject();

  EXPECT_TRUE(Exists(desk));
  EXPECT_FALSE(Exists(desk + "\\Corvane.lnk"));
  EXPECT_FALSE(Exists(desk + "\\Outer"));
  // The read-only shortcut stays, and so does its folder, whose removal was refused.
  EXPECT_TRUE(Exists(desk + "\\Locked\\Corvane.lnk"));
  EXPECT_FALSE(Exists(desk + "\\Mixed\\Corvane.lnk"));
  EXPECT_TRUE(Exists(desk + "\\Mixed\\Other.lnk"));
}

TEST(UninstallPlatformWin32, DeletionReportsTheSystemsReason) {
  Win32UninstallPlatform platform(nullptr);
  std::string folder = TempFolder("deletions");
  WriteText(folder + "\\plain.txt", "x");
  WriteText(folder + "\\locked.txt", "x");
  SetFileAttributesA((folder + "\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);

  FileDeletion deleted = platform.DeleteFileReporting((folder + "\\plain.txt").c_str());
  EXPECT_TRUE(deleted.deleted);
  FileDeletion missing = platform.DeleteFileReporting((folder + "\\plain.txt").c_str());
  EXPECT_FALSE(missing.deleted);
  EXPECT_EQ(missing.error, kErrorFileNotFound);
  FileDeletion noFolder = platform.DeleteFileReporting((folder + "\\none\\plain.txt").c_str());
  EXPECT_FALSE(noFolder.deleted);
  EXPECT_EQ(noFolder.error, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  FileDeletion locked = platform.DeleteFileReporting((folder + "\\locked.txt").c_str());
  EXPECT_FALSE(locked.deleted);
  EXPECT_NE(locked.error, kErrorFileNotFound);
}

TEST(UninstallPlatformWin32, ProfileSectionCountsMatchTheRenameLimit) {
  Win32UninstallPlatform platform(nullptr);
  std::string file = TempFolder("profile") + "\\WININIT.INI";
  for (uint32_t total : {3575u, 3576u}) {
    // One line of total - 1 characters and its zero byte, then the closing zero byte.
    std::string lines = "NUL=" + std::string(total - 5, 'x') + '\0' + '\0';
    ASSERT_TRUE(platform.WriteProfileSection("Rename", lines.c_str(), file.c_str()));
    char* section = platform.AllocateSectionBuffer();
    ASSERT_NE(section, nullptr);
    uint32_t count = platform.ReadProfileSection("Rename", section, kSectionCapacity, file.c_str());
    EXPECT_EQ(count, total);
    bool built = BuildRenameSection(section, count, "C:\\App\\ucorvane.exe", "C:\\App", true);
    EXPECT_EQ(built, total == 3575u);
    if (built) {
      ASSERT_TRUE(platform.WriteProfileSection("Rename", section, file.c_str()));
      char again[kSectionCapacity];
      uint32_t extended = platform.ReadProfileSection("Rename", again, sizeof(again), file.c_str());
      EXPECT_EQ(extended, total + 24 + 11);
      EXPECT_STREQ(again + total, "NUL=C:\\App\\ucorvane.exe");
      EXPECT_STREQ(again + total + 24, "NUL=C:\\App");
    }
    platform.FreeSectionBuffer(section);
  }
}

TEST(UninstallPlatformWin32, UninstallStringThatDoesNotFitIsNotRead) {
  Win32UninstallPlatform platform(nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\UninstallAdapterTest", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
  std::string fits(259, 'f'), tooLong(260, 'l');
  RegSetValueExA(key, "Fits", 0, REG_SZ, reinterpret_cast<const BYTE*>(fits.c_str()), 260);
  RegSetValueExA(key, "TooLong", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), 261);
  RegCloseKey(key);

  UninstallPlatform::Key opened = platform.OpenKey(RegistryRoot::kCurrentUser, "Software\\UninstallAdapterTest");
  ASSERT_NE(opened, nullptr);
  char buffer[kPathCapacity];
  EXPECT_TRUE(platform.QueryValue(opened, "Fits", buffer, sizeof(buffer)));
  EXPECT_EQ(std::string(buffer), fits);
  EXPECT_FALSE(platform.QueryValue(opened, "TooLong", buffer, sizeof(buffer)));
  EXPECT_FALSE(platform.QueryValue(opened, "Missing", buffer, sizeof(buffer)));
  platform.CloseKey(opened);
  platform.DeleteKey(RegistryRoot::kCurrentUser, "Software\\UninstallAdapterTest");
  EXPECT_EQ(platform.OpenKey(RegistryRoot::kCurrentUser, "Software\\UninstallAdapterTest"), nullptr);
}

TEST(UninstallPlatformWin32, DesktopFolderHasAFileSystemPath) {
  Win32UninstallPlatform platform(nullptr);
  ASSERT_EQ(platform.InitializeCom(), 0);
  EXPECT_EQ(platform.InitializeCom(), 1);  // S_FALSE: the sequence then leaves COM alone
  platform.UninitializeCom();
  ASSERT_TRUE(platform.AcquireShellAllocator());
  ASSERT_TRUE(platform.LocateDesktopFolder());
  char path[kPathCapacity] = "";
  platform.ReadDesktopFolderPath(path);
  std::string desktop(path);
  EXPECT_GT(desktop.size(), 3u);
  EXPECT_EQ(desktop.substr(desktop.size() - 8), "\\Desktop");
  platform.ReleaseShellAllocator();
  platform.UninitializeCom();
}

}  // namespace
