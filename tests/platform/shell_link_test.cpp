// Shell Link files: the bytes of the format, and what a standard parser reads from them.
#include <cstdio>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "platform/posix/shell_link_format.h"
#include "platform/shell_link.h"
#include "tests/platform/lnkinfo.h"
#include "tests/platform/temp_prefix.h"

using platform::posix::BuildShellLink;
using platform::posix::ShellLinkData;

namespace {

uint32_t U32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

TEST(ShellLinkFormat, HeaderLinkInfoAndStringsAreWhereTheFormatPutsThem) {
  ShellLinkData data;
  data.target = "C:\\Ostrel\\OstrelLauncher.exe";
  data.workingDirectory = "C:\\Ostrel\\";
  data.description = "Tarnwell";
  const std::string b = BuildShellLink(data);
  ASSERT_GE(b.size(), 76u);
  EXPECT_EQ(U32(b, 0), 0x4Cu);
  EXPECT_EQ(b.substr(4, 16), std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  EXPECT_EQ(U32(b, 20), 0x02u | 0x04u | 0x10u | 0x80u);  // LinkInfo, name, working dir, Unicode
  EXPECT_EQ(U32(b, 60), 1u);                             // shown normally
  const uint32_t linkInfoSize = U32(b, 76);
  EXPECT_EQ(U32(b, 76 + 4), 0x24u);
  const uint32_t basePath = U32(b, 76 + 16);
  EXPECT_EQ(std::string(b.c_str() + 76 + basePath), data.target);
  // String data: counted UTF-16, name first, then the working folder; then the terminal block.
  size_t at = 76 + linkInfoSize;
  ASSERT_EQ(U16(b, at), 8u);
  EXPECT_EQ(b.substr(at + 2, 4), std::string("T\0a\0", 4));
  at += 2 + 2 * 8;
  ASSERT_EQ(U16(b, at), data.workingDirectory.size());
  at += 2 + 2 * data.workingDirectory.size();
  EXPECT_EQ(b.size(), at + 4);
  EXPECT_EQ(U32(b, at), 0u);
}

TEST(ShellLinkFormat, OptionalStringsAreLeftOutAndOverlongOnesRefused) {
  ShellLinkData data;
  data.target = "C:\\a.exe";
  const std::string b = BuildShellLink(data);
  EXPECT_EQ(U32(b, 20), 0x02u | 0x80u);
  data.arguments = "UAC";
  EXPECT_EQ(U32(BuildShellLink(data), 20), 0x02u | 0x20u | 0x80u);
  data.description = std::string(70000, 'd');
  EXPECT_EQ(BuildShellLink(data), "");
}

TEST(ShellLink, AStandardParserReadsTargetWorkingFolderAndDescription) {
  if (!testutil::HaveLnkinfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  testutil::TempPrefix prefix;
  platform::ShellLink link;
  link.path = "C:\\Program Files\\Ostrel\\安装\\OstrelLauncher.exe";
  link.workingDirectory = "C:\\Program Files\\Ostrel\\安装\\";
  link.description = "Tarnwell";
  link.arguments = "--flag \"two words\"";
  const std::string file = "C:\\users\\x.lnk";
  ASSERT_EQ(platform::SaveShellLink(link, file), platform::ShellLinkResult::kOk);
  const std::string out = testutil::Lnkinfo(platform::HostPath(file));
  EXPECT_NE(out.find("Local path\t\t\t: " + link.path + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Working directory\t\t: " + link.workingDirectory + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Description\t\t\t: Tarnwell\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Command line arguments\t\t: " + link.arguments + "\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Drive type\t\t\t: Fixed"), std::string::npos) << out;
}

TEST(ShellLink, AnExistingTargetGivesItsSizeAndAMissingFolderFailsTheSave) {
  testutil::TempPrefix prefix;
  platform::ShellLink link;
  link.path = "C:\\t.exe";
  ASSERT_EQ(platform::SaveShellLink(link, "C:\\first.lnk"), platform::ShellLinkResult::kOk);  // seeds the prefix
  testutil::WriteFile(prefix.path() + "/drive_c/t.exe", std::string(1234, 'x'));
  ASSERT_EQ(platform::SaveShellLink(link, "C:\\t.lnk"), platform::ShellLinkResult::kOk);
  const std::string b = testutil::ReadFile(prefix.path() + "/drive_c/t.lnk");
  EXPECT_EQ(U32(b, 24), 0x20u);  // archive
  EXPECT_EQ(U32(b, 52), 1234u);
  EXPECT_NE(U32(b, 44) | U32(b, 48), 0u);  // write time
  EXPECT_EQ(platform::SaveShellLink(link, "C:\\no\\such\\folder\\t.lnk"), platform::ShellLinkResult::kSaveFailed);
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/no"));
}

}  // namespace
