#include "uninstall/rename_section.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A section as the profile API hands it over: lines each ended by a zero byte, one more zero byte
// at the reported count, then whatever the buffer held before.
struct Section {
  char bytes[kSectionCapacity + 16];
  uint32_t count = 0;

  explicit Section(const std::vector<std::string>& lines) {
    memset(bytes, 'G', sizeof(bytes));
    for (const std::string& line : lines) {
      memcpy(bytes + count, line.c_str(), line.size() + 1);
      count += static_cast<uint32_t>(line.size() + 1);
    }
    bytes[count] = '\0';
  }
  // Lines up to the empty line that ends the list.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const char* at = bytes; *at != '\0'; at += strlen(at) + 1) lines.emplace_back(at);
    return lines;
  }
};

constexpr char kUninstaller[] = "D:\\Tools\\Corvane\\ucorvane.exe";
constexpr char kDirectory[] = "D:\\Tools\\Corvane";

TEST(BuildRenameSection, AppendsTheUninstallerAndThenTheEmptiedDirectory) {
  Section empty({});
  ASSERT_TRUE(BuildRenameSection(empty.bytes, empty.count, kUninstaller, kDirectory, true));
  EXPECT_EQ(empty.Lines(), (std::vector<std::string>{"NUL=D:\\Tools\\Corvane\\ucorvane.exe",
                                                     "NUL=D:\\Tools\\Corvane"}));

  Section existing({"NUL=D:\\TEMP\\OLD.TMP", "D:\\new.txt=D:\\old.txt"});
  ASSERT_TRUE(BuildRenameSection(existing.bytes, existing.count, kUninstaller, kDirectory, true));
  EXPECT_EQ(existing.Lines(),
            (std::vector<std::string>{"NUL=D:\\TEMP\\OLD.TMP", "D:\\new.txt=D:\\old.txt",
                                      "NUL=D:\\Tools\\Corvane\\ucorvane.exe",
                                      "NUL=D:\\Tools\\Corvane"}));
}

TEST(BuildRenameSection, DirectoryLineOnlyWhenItWasFoundEmpty) {
  Section section({"NUL=D:\\TEMP\\OLD.TMP"});
  ASSERT_TRUE(BuildRenameSection(section.bytes, section.count, kUninstaller, kDirectory, false));
  EXPECT_EQ(section.Lines(), (std::vector<std::string>{"NUL=D:\\TEMP\\OLD.TMP",
                                                       "NUL=D:\\Tools\\Corvane\\ucorvane.exe"}));
  // The list ends right after the new line: its two closing zero bytes.
  size_t end = section.count + strlen("NUL=D:\\Tools\\Corvane\\ucorvane.exe");
  EXPECT_EQ(section.bytes[end], '\0');
  EXPECT_EQ(section.bytes[end + 1], '\0');
}

TEST(BuildRenameSection, ContentUpTo3575CharactersIsExtendedBeyondThatLeftAlone) {
  std::string longest(259, 'p');
  std::string directory(246, 'p');
  std::string line(3575 - 1, 'x');  // one line of 3574 characters and its zero byte
  Section fits({line});
  ASSERT_EQ(fits.count, 3575u);
  ASSERT_TRUE(BuildRenameSection(fits.bytes, fits.count, longest.c_str(), directory.c_str(), true));
  EXPECT_EQ(fits.Lines(), (std::vector<std::string>{line, "NUL=" + longest, "NUL=" + directory}));
  for (size_t i = kSectionCapacity; i < sizeof(fits.bytes); ++i) EXPECT_EQ(fits.bytes[i], 'G');

  Section tooLong({std::string(3576 - 1, 'x')});
  Section before = tooLong;
  EXPECT_FALSE(BuildRenameSection(tooLong.bytes, tooLong.count, kUninstaller, kDirectory, true));
  EXPECT_EQ(memcmp(before.bytes, tooLong.bytes, sizeof(before.bytes)), 0);
}

}  // namespace
