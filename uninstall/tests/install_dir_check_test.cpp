#include "uninstall/install_dir_check.h"

#include <gtest/gtest.h>

#include "uninstall/tests/fake_folder_tree.h"

namespace {

bool Empty(FakeFolderTree& tree) {
  bool empty = IsInstallDirEmpty(tree, "D:\\App\\*.*");
  EXPECT_EQ(tree.OpenSearches(), 0);
  return empty;
}

TEST(IsInstallDirEmpty, OnlyTheUninstallerAndDotFoldersLeftIsEmpty) {
  FakeFolderTree tree;
  tree.AddFolder("D:\\App");
  tree.AddFile("D:\\App\\ucorvane.exe");
  EXPECT_TRUE(Empty(tree));

  FakeFolderTree capitals;
  capitals.AddFolder("D:\\App");
  capitals.AddFolder("D:\\App\\..foo");
  capitals.AddFile("D:\\App\\UCORVANE.EXE");
  EXPECT_TRUE(Empty(capitals));

  FakeFolderTree bare;  // only "." and ".."
  bare.AddFolder("D:\\App");
  EXPECT_TRUE(Empty(bare));
}

TEST(IsInstallDirEmpty, AnythingElseKeepsTheDirectory) {
  FakeFolderTree data;
  data.AddFolder("D:\\App");
  data.AddFile("D:\\App\\ucorvane.exe");
  data.AddFolder("D:\\App\\Data");
  EXPECT_TRUE(!Empty(data));

  FakeFolderTree file;
  file.AddFolder("D:\\App");
  file.AddFile("D:\\App\\readme.txt");
  file.AddFile("D:\\App\\ucorvane.exe");
  EXPECT_FALSE(Empty(file));

  // Only ".." and what follows are passed over; ".x" is a real folder.
  FakeFolderTree dotName;
  dotName.AddFolder("D:\\App");
  dotName.AddFolder("D:\\App\\.x");
  EXPECT_FALSE(Empty(dotName));

  // A file named like a passed-over folder is still a file.
  FakeFolderTree dotFile;
  dotFile.AddFolder("D:\\App");
  dotFile.AddFile("D:\\App\\..");
  EXPECT_FALSE(Empty(dotFile));

  // Near misses of the uninstaller's name.
  FakeFolderTree nearName;
  nearName.AddFolder("D:\\App");
  nearName.AddFile("D:\\App\\ucorvane.exe.bak");
  EXPECT_FALSE(Empty(nearName));
}

TEST(IsInstallDirEmpty, StopsAtTheFirstEntryThatStays) {
  FakeFolderTree tree;
  tree.AddFolder("D:\\App");
  tree.AddFile("D:\\App\\a.txt");
  tree.AddFolder("D:\\App\\Data", /*searchable=*/false);
  EXPECT_FALSE(Empty(tree));
  EXPECT_EQ(tree.Log(), (std::vector<std::string>{"search D:\\App\\*.*"}));
}

TEST(IsInstallDirEmpty, SearchThatCannotStartIsNotEmpty) {
  FakeFolderTree missing;
  EXPECT_FALSE(Empty(missing));
  FakeFolderTree nothing;  // a folder without even dot entries (a drive root)
  nothing.AddFolder("D:\\App", true, /*dotEntries=*/false);
  EXPECT_FALSE(Empty(nothing));
}

}  // namespace
