#include <gtest/gtest.h>

#include "support/WindowsSysVersion.h"

namespace {

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kServer = 3;
constexpr uint16_t kAmd64 = 9;
constexpr uint16_t kX86 = 0;

struct Case {
  uint32_t major, minor;
  uint8_t productType;
  uint16_t suiteMask, arch;
  int serverR2;
  uint8_t code;
};

TEST(WindowsSysVersion, ClassifiesEveryRowOfTheTable) {
  const Case cases[] = {
      {4, 0, kWorkstation, 0, kX86, 0, 1},      {4, 1, kWorkstation, 0, kX86, 0, 2},
      {4, 9, kWorkstation, 0, kX86, 0, 3},      {4, 2, kWorkstation, 0, kX86, 0, 0},
      {5, 0, kWorkstation, 0, kX86, 0, 4},      {5, 0, kServer, 0, kX86, 0, 5},
      {5, 0, 2, 0, kX86, 0, 5},                 // domain controller counts as "other"
      {5, 1, kWorkstation, 0, kX86, 0, 6},      {5, 1, kServer, 0x8000, kAmd64, 1, 6},  // XP whatever else
      {5, 2, kWorkstation, 0, kAmd64, 0, 7},    {5, 2, kWorkstation, 0x8000, kAmd64, 1, 7},
      {5, 2, kWorkstation, 0, kX86, 0, 8},      // 32-bit view of XP x64
      {5, 2, kServer, 0, kAmd64, 0, 8},         {5, 2, kServer, 0x8000, kX86, 0, 9},
      {5, 2, kServer, 0x8000, kX86, 1, 9},      {5, 2, kServer, 0, kX86, 1, 10},
      {5, 2, kServer, 0x8010, kX86, 0, 8},      {5, 2, kServer, 0x8010, kX86, 1, 10},  // not exactly 0x8000
      {5, 3, kWorkstation, 0, kX86, 0, 0},      {6, 0, kWorkstation, 0, kAmd64, 0, 11},
      {6, 0, kServer, 0, kAmd64, 0, 12},        {6, 1, kServer, 0, kAmd64, 0, 13},
      {6, 1, kWorkstation, 0, kX86, 0, 14},     {6, 2, kWorkstation, 0, kAmd64, 0, 0},  // 8 without manifest
      {6, 3, kWorkstation, 0, kAmd64, 0, 0},    {10, 0, kWorkstation, 0, kAmd64, 0, 0},
      {3, 51, kWorkstation, 0, kX86, 0, 0},
  };
  for (const Case& c : cases) {
    WindowsVersionFacts f{c.major, c.minor, c.productType, c.suiteMask, c.arch, c.serverR2};
    EXPECT_EQ(ClassifyWindowsVersion(f), c.code)
        << c.major << "." << c.minor << " type " << int(c.productType) << " suite " << c.suiteMask << " arch "
        << c.arch << " r2 " << c.serverR2;
  }
}

TEST(WindowsSysVersion, TheQueryFailsOffWindows) {
  platform::OsVersionInfoEx info;
  info.dwOSVersionInfoSize = 42;
  info.dwMajorVersion = 7;
  EXPECT_FALSE(GetVersionInfo(info));
  EXPECT_EQ(info.dwOSVersionInfoSize, 0u);
  EXPECT_EQ(info.dwMajorVersion, 0u);  // zeroed before the query
  EXPECT_EQ(GetSysVersion(), 0);
}

}  // namespace
