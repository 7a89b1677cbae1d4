// Shell Link files at the byte level (a standard parser reads them in the pubShare tests).
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/shell_link.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

TEST(ShellLink, FlagsTargetFactsAndFailures) {
  testkit::TempPrefix prefix;
  platform::ShellLink link;
  link.path = "C:\\t.exe";
  ASSERT_EQ(platform::SaveShellLink(link, "C:\\first.lnk"), platform::ShellLinkResult::kOk);
  std::string b = testkit::ReadFile(prefix.path() + "/drive_c/first.lnk");
  EXPECT_EQ(U32(b, 0), 0x4Cu);
  EXPECT_EQ(U32(b, 20), 0x02u | 0x80u);  // LinkInfo, Unicode; no strings given
  EXPECT_EQ(U32(b, 60), 1u);             // shown normally
  EXPECT_EQ(U32(b, 52), 0u);             // no target yet
  testkit::WriteFile(prefix.path() + "/drive_c/t.exe", std::string(1234, 'x'));
  link.arguments = "UAC";
  ASSERT_EQ(platform::SaveShellLink(link, "C:\\t.lnk"), platform::ShellLinkResult::kOk);
  b = testkit::ReadFile(prefix.path() + "/drive_c/t.lnk");
  EXPECT_EQ(U32(b, 20), 0x02u | 0x20u | 0x80u);
  EXPECT_EQ(U32(b, 24), 0x20u);  // archive
  EXPECT_EQ(U32(b, 52), 1234u);
  EXPECT_NE(U32(b, 44) | U32(b, 48), 0u);  // write time
  link.description = std::string(70000, 'd');  // too long for the format
  EXPECT_EQ(platform::SaveShellLink(link, "C:\\long.lnk"), platform::ShellLinkResult::kSaveFailed);
  link.description.clear();
  EXPECT_EQ(platform::SaveShellLink(link, "C:\\no\\folder\\t.lnk"), platform::ShellLinkResult::kSaveFailed);
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/no"));
}

}  // namespace
