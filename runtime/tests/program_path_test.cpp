// The program's folder, from its full path.
#include <gtest/gtest.h>

#include "runtime/program_path.h"

TEST(ProgramPath, TheProgramFolderComesFromTheProgramsFullPath) {
  char folder[260];
  EXPECT_TRUE(FolderOfProgram("C:\\Program Files\\Tambrel\\Tambrel.exe", folder, sizeof folder));
  EXPECT_STREQ(folder, "C:\\Program Files\\Tambrel");
  EXPECT_TRUE(FolderOfProgram("C:\\Tambrel.exe", folder, sizeof folder));
  EXPECT_STREQ(folder, "C:\\");
  EXPECT_TRUE(FolderOfProgram("\\\\server\\share\\Tambrel.exe", folder, sizeof folder));
  EXPECT_STREQ(folder, "\\\\server\\share");
  EXPECT_FALSE(FolderOfProgram("Tambrel.exe", folder, sizeof folder));
  EXPECT_STREQ(folder, "");
  EXPECT_FALSE(FolderOfProgram("C:\\Panel\\Tambrel.exe", folder, 8));  // "C:\Panel" needs 9
}
