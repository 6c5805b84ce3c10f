#include "uninstall/install_prefix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "uninstall/uninstall_names.h"

namespace {

class FixedDirectory : public CurrentDirectorySource {
 public:
  explicit FixedDirectory(std::string path, uint32_t reported = UINT32_MAX)
      : path_(std::move(path)), reported_(reported) {}
  uint32_t CurrentDirectory(char* buffer, uint32_t size) override {
    ++calls;
    if (path_.size() < size) memcpy(buffer, path_.c_str(), path_.size() + 1);
    if (reported_ != UINT32_MAX) return reported_;
    return path_.size() < size ? static_cast<uint32_t>(path_.size())
                               : static_cast<uint32_t>(path_.size() + 1);
  }
  int calls = 0;

 private:
  std::string path_;
  uint32_t reported_;
};

struct Derived {
  size_t length;
  std::string prefix;
  int directoryCalls;
};

// Guard bytes behind the 260-character buffer catch any write past it.
Derived Derive(const std::string* value, FixedDirectory directory) {
  char buffer[kPathCapacity + 16];
  memset(buffer, 'G', sizeof(buffer));
  if (value != nullptr) memcpy(buffer, value->data(), std::min(value->size() + 1, kPathCapacity));
  size_t length = DeriveInstallPrefix(buffer, value != nullptr, directory);
  for (size_t i = kPathCapacity; i < sizeof(buffer); ++i) EXPECT_EQ(buffer[i], 'G');
  return {length, std::string(buffer, length), directory.calls};
}

Derived FromValue(const std::string& value) { return Derive(&value, FixedDirectory("C:\\Cwd")); }

TEST(DeriveInstallPrefix, DropsTheLastTwelveCharactersWhateverTheyAre) {
  EXPECT_EQ(FromValue("D:\\Tools\\Corvane\\ucorvane.exe").prefix, "D:\\Tools\\Corvane\\");
  EXPECT_EQ(FromValue("D:\\TOOLS\\CORVANE\\UCORVANE.EXE").prefix, "D:\\TOOLS\\CORVANE\\");
  // 13 characters: one is left, not a directory but used as written.
  EXPECT_EQ(FromValue("Xucorvane.exe").prefix, "X");
  EXPECT_EQ(FromValue("D:\\Tools\\other-name.exe").prefix, "D:\\Tools\\ot");
  EXPECT_EQ(FromValue("D:\\Tools\\other-name.exe").directoryCalls, 0);
}

TEST(DeriveInstallPrefix, ShortValuesAreThePrefixAsTheyStand) {
  Derived four = FromValue("D:\\X");
  EXPECT_EQ(four.prefix, "D:\\X");
  EXPECT_EQ(four.directoryCalls, 0);
  EXPECT_EQ(FromValue("ABCDEFGHIJK").prefix, "ABCDEFGHIJK");  // 11
}

TEST(DeriveInstallPrefix, NothingLeftFallsBackToTheCurrentDirectory) {
  for (const std::string value : {"", "ucorvane.exe", "\"\"", "\"ucorvane.exe\""}) {
    Derived derived = FromValue(value);
    EXPECT_EQ(derived.prefix, "C:\\Cwd\\") << value;
    EXPECT_EQ(derived.directoryCalls, 1) << value;
  }
  Derived unread = Derive(nullptr, FixedDirectory("C:\\Cwd"));
  EXPECT_EQ(unread.prefix, "C:\\Cwd\\");
}

TEST(DeriveInstallPrefix, QuotedValueIsReadWithoutItsQuotes) {
  EXPECT_EQ(FromValue("\"D:\\Tools\\Corvane\\ucorvane.exe\"").prefix, "D:\\Tools\\Corvane\\");
  EXPECT_EQ(FromValue("\"D:\\X\"").prefix, "D:\\X");
  // Only a value wrapped at both ends counts as quoted.
  EXPECT_EQ(FromValue("\"D:\\Tools\\Corvane\\ucorvane.exe").prefix, "\"D:\\Tools\\Corvane\\");
  EXPECT_EQ(FromValue("\"").prefix, "\"");
}

TEST(DeriveInstallPrefix, LongValuesStayWithinTheBuffer) {
  std::string longest(259, 'a');  // the most a 260-byte read can hold
  EXPECT_EQ(FromValue(longest).length, 247u);
  // A read that filled all 260 bytes without a terminator did not fit.
  char buffer[kPathCapacity + 1];
  memset(buffer, 'a', sizeof(buffer));
  FixedDirectory directory("C:\\Cwd");
  EXPECT_EQ(DeriveInstallPrefix(buffer, true, directory), 7u);
}

TEST(DeriveInstallPrefix, CurrentDirectoryGetsExactlyOneTrailingBackslash) {
  EXPECT_EQ(Derive(nullptr, FixedDirectory("D:\\Tools\\Corvane")).prefix, "D:\\Tools\\Corvane\\");
  EXPECT_EQ(Derive(nullptr, FixedDirectory("D:\\")).prefix, "D:\\");
}

TEST(DeriveInstallPrefix, CurrentDirectoryFailureOrOverflowGivesAnEmptyPrefix) {
  EXPECT_EQ(Derive(nullptr, FixedDirectory("", 0)).length, 0u);
  // Too long for the 260-character buffer: the call reports the size it needs.
  EXPECT_EQ(Derive(nullptr, FixedDirectory(std::string(300, 'd'))).length, 0u);
  // Fits the buffer, but no 12-character name would fit behind it.
  EXPECT_EQ(Derive(nullptr, FixedDirectory("C:\\" + std::string(243, 'd'))).length, 247u);
  EXPECT_EQ(Derive(nullptr, FixedDirectory("C:\\" + std::string(244, 'd'))).length, 0u);
  EXPECT_EQ(Derive(nullptr, FixedDirectory("C:\\" + std::string(243, 'd') + "\\")).length, 247u);
  EXPECT_EQ(Derive(nullptr, FixedDirectory("C:\\" + std::string(244, 'd') + "\\")).length, 0u);
}

}  // namespace
