// The system's family, from what GetVersion returns.
#include <gtest/gtest.h>

#include "runtime/system_family.h"

namespace {
constexpr uint32_t kVersionNt4 = 0x05650004;  // GetVersion on NT 4.0 (build 1381)
constexpr uint32_t kVersionXp = 0x0A280105;   // on XP (build 2600)
constexpr uint32_t kVersion98 = 0xC0000A04;   // on 98 (build 2222, high bit set)
constexpr uint32_t kVersion95 = 0xC0000004;
}  // namespace

TEST(SystemFamily, HighBitOfTheVersionMeansThe9xFamily) {
  EXPECT_EQ(FamilyOfVersion(kVersion95), SystemFamily::Windows9x);
  EXPECT_EQ(FamilyOfVersion(kVersion98), SystemFamily::Windows9x);
  EXPECT_EQ(FamilyOfVersion(kVersionNt4), SystemFamily::WindowsNt);
  EXPECT_EQ(FamilyOfVersion(kVersionXp), SystemFamily::WindowsNt);
}
