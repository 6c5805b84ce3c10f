#include "uninstall/shortcut_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "uninstall/tests/fake_folder_tree.h"
#include "uninstall/uninstall_names.h"

namespace {

constexpr char kDesk[] = "C:\\Desk";
constexpr char kProgram[] = "D:\\App\\Corvane.exe";
constexpr char kHelp[] = "D:\\App\\Corvane.hlp";

uint8_t Sweep(FakeFolderTree& tree, const std::string& target, const std::string& start = kDesk,
              uint8_t flags = SWEEP_KEPT) {
  char workPath[kPathCapacity + 8];
  memset(workPath, 'G', sizeof(workPath));
  memcpy(workPath, start.c_str(), start.size() + 1);
  uint8_t result = ShortcutSweep({tree, workPath, target.c_str()}, start.size(), flags);
  for (size_t i = kPathCapacity; i < sizeof(workPath); ++i) EXPECT_EQ(workPath[i], 'G');
  EXPECT_EQ(tree.OpenSearches(), 0);
  return result;
}

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& verb) {
  std::vector<std::string> paths;
  for (const std::string& line : log) {
    if (line.rfind(verb + " ", 0) == 0) paths.push_back(line.substr(verb.size() + 1));
  }
  return paths;
}

using Paths = std::vector<std::string>;

TEST(ShortcutSweep, DeletesMatchingShortcutsAndRemovesFoldersLeftEmpty) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddShortcut("C:\\Desk\\Corvane.lnk", kProgram);  // on the desktop itself
  tree.AddFolder("C:\\Desk\\Only");
  tree.AddShortcut("C:\\Desk\\Only\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\Outer");
  tree.AddFolder("C:\\Desk\\Outer\\Inner");
  tree.AddShortcut("C:\\Desk\\Outer\\Inner\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\Mixed");
  tree.AddShortcut("C:\\Desk\\Mixed\\Corvane.lnk", kProgram);
  tree.AddFile("C:\\Desk\\Mixed\\notes.txt");
  tree.AddFile("C:\\Desk\\other.txt");

  EXPECT_EQ(Sweep(tree, kProgram), SWEEP_KEPT | SWEEP_DELETED);
  EXPECT_EQ(Matching(tree.Log(), "rmdir"),
            (Paths{"C:\\Desk\\Only", "C:\\Desk\\Outer\\Inner", "C:\\Desk\\Outer"}));
  EXPECT_EQ(tree.Paths(), (Paths{"C:\\Desk", "C:\\Desk\\Mixed", "C:\\Desk\\Mixed\\notes.txt",
                                 "C:\\Desk\\other.txt"}));
}

TEST(ShortcutSweep, StartFolderIsNeverRemoved) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddShortcut("C:\\Desk\\Corvane.lnk", kProgram);
  Sweep(tree, kProgram);
  EXPECT_EQ(tree.Paths(), Paths{kDesk});
  EXPECT_TRUE(Matching(tree.Log(), "rmdir").empty());
}

TEST(ShortcutSweep, FolderWithBothShortcutsGoesOnTheSecondRun) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddFolder("C:\\Desk\\Both");
  tree.AddShortcut("C:\\Desk\\Both\\Help.lnk", kHelp);
  tree.AddShortcut("C:\\Desk\\Both\\Corvane.lnk", kProgram);
  Sweep(tree, kProgram);
  EXPECT_EQ(tree.Paths(), (Paths{kDesk, "C:\\Desk\\Both", "C:\\Desk\\Both\\Help.lnk"}));
  Sweep(tree, kHelp);
  EXPECT_EQ(tree.Paths(), Paths{kDesk});
}

TEST(ShortcutSweep, TargetsCompareIgnoringOnlyTheCaseOfAToZ) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddShortcut("C:\\Desk\\upper.lnk", "d:\\APP\\corvane.EXE");
  tree.AddShortcut("C:\\Desk\\short.lnk", "D:\\APP~1\\Corvane.exe");
  tree.AddShortcut("C:\\Desk\\prefix.lnk", "D:\\App\\Corvane.exe.old");
  tree.AddShortcut("C:\\Desk\\accent.lnk", "D:\\\xC4pp\\Corvane.exe");
  Sweep(tree, kProgram);
  Sweep(tree, "D:\\\xE4pp\\Corvane.exe");
  EXPECT_EQ(Matching(tree.Log(), "delete"), Paths{"C:\\Desk\\upper.lnk"});
}

TEST(ShortcutSweep, FilesThatCannotBeReadAsMatchingShortcutsStayWithTheirFolder) {
  for (ShortcutRead failure : {ShortcutRead::kNotShortcut, ShortcutRead::kNoPersistFile,
                               ShortcutRead::kNotLoaded, ShortcutRead::kNoTarget}) {
    FakeFolderTree tree;
    tree.AddFolder(kDesk);
    tree.AddFolder("C:\\Desk\\Sub");
    tree.AddShortcut("C:\\Desk\\Sub\\Corvane.lnk", kProgram);
    tree.AddFile("C:\\Desk\\Sub\\broken.lnk", {failure, kProgram, false});
    EXPECT_EQ(Sweep(tree, kProgram), SWEEP_KEPT | SWEEP_DELETED);
    EXPECT_EQ(Matching(tree.Log(), "delete"), Paths{"C:\\Desk\\Sub\\Corvane.lnk"});
    EXPECT_TRUE(Matching(tree.Log(), "rmdir").empty());
    EXPECT_TRUE(tree.Exists("C:\\Desk\\Sub\\broken.lnk"));
  }
}

TEST(ShortcutSweep, RemovalIsAttemptedAndRefusedWhereSomethingUnseenStays) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddFolder("C:\\Desk\\WithEmpty");  // a shortcut and an empty folder
  tree.AddShortcut("C:\\Desk\\WithEmpty\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\WithEmpty\\Empty");
  tree.AddFolder("C:\\Desk\\WithDots");  // a shortcut and a folder named "..x", never walked
  tree.AddShortcut("C:\\Desk\\WithDots\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\WithDots\\..x");
  tree.AddShortcut("C:\\Desk\\WithDots\\..x\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\Locked");  // a shortcut that cannot be deleted
  tree.AddFile("C:\\Desk\\Locked\\Corvane.lnk", {ShortcutRead::kTarget, kProgram, true});
  tree.AddFolder("C:\\Desk\\Closed");  // a shortcut and a folder whose search does not start
  tree.AddShortcut("C:\\Desk\\Closed\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\Closed\\Sealed", /*searchable=*/false);

  Sweep(tree, kProgram);
  EXPECT_EQ(Matching(tree.Log(), "rmdir"), (Paths{"C:\\Desk\\WithEmpty", "C:\\Desk\\WithDots",
                                                  "C:\\Desk\\Locked", "C:\\Desk\\Closed"}));
  EXPECT_EQ(tree.RemovalsRefused(), 4);
  EXPECT_TRUE(tree.Exists("C:\\Desk\\WithEmpty\\Empty"));
  EXPECT_TRUE(tree.Exists("C:\\Desk\\WithDots\\..x\\Corvane.lnk"));
  EXPECT_TRUE(tree.Exists("C:\\Desk\\Locked\\Corvane.lnk"));
  EXPECT_TRUE(tree.Exists("C:\\Desk\\Closed\\Sealed"));
  for (const std::string& searched : Matching(tree.Log(), "search")) {
    EXPECT_EQ(searched.find("..x"), std::string::npos);
  }
}

// The same tree twice: once where Away and Holder\Back are folders of the desktop, once where they
// are links leading out of it (Back to an ancestor).
FakeFolderTree DesktopWithAwayFolders(bool asLinks) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddShortcut("C:\\Desk\\Corvane.lnk", kProgram);
  asLinks ? tree.AddLink("C:\\Desk\\Away") : tree.AddFolder("C:\\Desk\\Away");
  tree.AddFolder("C:\\Desk\\Away\\Sub");
  tree.AddShortcut("C:\\Desk\\Away\\Sub\\Corvane.lnk", kProgram);
  tree.AddFolder("C:\\Desk\\Holder");
  tree.AddShortcut("C:\\Desk\\Holder\\Corvane.lnk", kProgram);
  asLinks ? tree.AddLink("C:\\Desk\\Holder\\Back") : tree.AddFolder("C:\\Desk\\Holder\\Back");
  tree.AddShortcut("C:\\Desk\\Holder\\Back\\Corvane.lnk", kProgram);
  return tree;
}

TEST(ShortcutSweep, FoldersThatAreLinksAreNeitherWalkedNorRemovedAndKeepTheirParent) {
  FakeFolderTree linked = DesktopWithAwayFolders(true);
  EXPECT_EQ(Sweep(linked, kProgram, "C:\\Desk\\Holder", 0), SWEEP_KEPT | SWEEP_DELETED);
  Sweep(linked, kProgram);
  EXPECT_EQ(Matching(linked.Log(), "search"),
            (Paths{"C:\\Desk\\Holder\\*.*", "C:\\Desk\\*.*", "C:\\Desk\\Holder\\*.*"}));
  EXPECT_EQ(Matching(linked.Log(), "delete"),
            (Paths{"C:\\Desk\\Holder\\Corvane.lnk", "C:\\Desk\\Corvane.lnk"}));
  EXPECT_TRUE(Matching(linked.Log(), "rmdir").empty());
  EXPECT_TRUE(linked.Exists("C:\\Desk\\Away\\Sub\\Corvane.lnk"));
  EXPECT_TRUE(linked.Exists("C:\\Desk\\Holder\\Back\\Corvane.lnk"));

  FakeFolderTree plain = DesktopWithAwayFolders(false);
  EXPECT_EQ(Sweep(plain, kProgram), SWEEP_KEPT | SWEEP_DELETED);
  EXPECT_EQ(Matching(plain.Log(), "rmdir"),
            (Paths{"C:\\Desk\\Away\\Sub", "C:\\Desk\\Away", "C:\\Desk\\Holder\\Back",
                   "C:\\Desk\\Holder"}));
  EXPECT_EQ(plain.Paths(), Paths{kDesk});
}

TEST(ShortcutSweep, FoldersThatAddNothingReturnNoFlags) {
  FakeFolderTree tree;
  tree.AddFolder(kDesk);
  tree.AddFolder("C:\\Desk\\Empty");
  tree.AddFolder("C:\\Desk\\Sealed", /*searchable=*/false);
  EXPECT_EQ(Sweep(tree, kProgram, "C:\\Desk\\Empty", 0), 0);
  EXPECT_EQ(Sweep(tree, kProgram, "C:\\Desk\\Sealed", 0), 0);
  EXPECT_EQ(Sweep(tree, kProgram, "C:\\Nowhere", SWEEP_KEPT), SWEEP_KEPT);
  EXPECT_TRUE(Matching(tree.Log(), "rmdir").empty());
}

TEST(ShortcutSweep, EntriesWhosePathsDoNotFitAreLeftAloneAndKept) {
  // A path may take 259 characters; a folder's path also needs room for "\*.*" behind it.
  std::string base = "C:\\" + std::string(200, 'd');  // 203 characters
  std::string sub = base + "\\Sub";                     // 207
  std::string fileFits = sub + "\\" + std::string(259 - 208, 'f');
  std::string fileTooLong = sub + "\\" + std::string(260 - 208, 'g');
  std::string folderFits = base + "\\" + std::string(255 - 204, 'h');
  std::string folderTooLong = base + "\\" + std::string(256 - 204, 'i');
  ASSERT_EQ(fileFits.size(), 259u);
  ASSERT_EQ(folderFits.size(), 255u);
  FakeFolderTree tree;
  tree.AddFolder(base);
  tree.AddFolder(sub);
  tree.AddShortcut(fileFits, kProgram);
  tree.AddShortcut(fileTooLong, kProgram);
  tree.AddFolder(folderFits);
  tree.AddShortcut(folderFits + "\\abc", kProgram);   // 259: fits
  tree.AddShortcut(folderFits + "\\abcd", kProgram);  // 260: does not
  tree.AddFolder(folderTooLong);
  tree.AddShortcut(folderTooLong + "\\a", kProgram);

  Sweep(tree, kProgram, base, 0);
  EXPECT_EQ(Matching(tree.Log(), "delete"), (Paths{fileFits, folderFits + "\\abc"}));
  EXPECT_EQ(Matching(tree.Log(), "search"),
            (Paths{base + "\\*.*", sub + "\\*.*", folderFits + "\\*.*"}));
  EXPECT_TRUE(Matching(tree.Log(), "rmdir").empty());
}

TEST(ShortcutSweep, FolderTooDeepToSearchStillKeepsItsParent) {
  std::string base = "C:\\" + std::string(200, 'd');
  std::string tooDeep = base + "\\" + std::string(256 - 204, 'i');  // no room for "\*.*"
  FakeFolderTree tree;
  tree.AddFolder(base);
  tree.AddShortcut(base + "\\Corvane.lnk", kProgram);
  tree.AddFolder(tooDeep, /*searchable=*/true, /*dotEntries=*/false);
  EXPECT_EQ(Sweep(tree, kProgram, base, 0), SWEEP_KEPT | SWEEP_DELETED);
  EXPECT_TRUE(Matching(tree.Log(), "rmdir").empty());
}

}  // namespace
