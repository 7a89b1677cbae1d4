// Code pages, registry, INI files, system queries and the shell on the real Windows calls. The
// program runs once with code page 936 and once with 1252 as the system's: every answer here
// is the same in both.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <map>

#include "platform/drives.h"
#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/local_time.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/win32/wide_text.h"
#include "support/WindowsSysVersion.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_dir.h"

namespace {

// "中文安装" in code page 936 and in UTF-8.
const std::string kGbk = "\xD6\xD0\xCE\xC4\xB0\xB2\xD7\xB0";
const std::string kUtf8 = "中文安装";

// ctest names the code page that the locale it chose gives: the two runs really differ.
TEST(WindowsCodePage, RunsUnderTheChosenSystemCodePage) {
  const char* expected = std::getenv("OSTREL_EXPECTED_ACP");
  if (!expected) GTEST_SKIP() << "OSTREL_EXPECTED_ACP not set";
  EXPECT_EQ(std::to_string(GetACP()), expected);
}

TEST(WindowsCodePage, ConvertsCodePage936WhateverTheSystemsIs) {
  EXPECT_EQ(platform::GbkToUtf8(kGbk), kUtf8);
  EXPECT_EQ(platform::Utf8ToGbk(kUtf8), kGbk);
  EXPECT_EQ(platform::GbkToUtf8("\xD6"), std::nullopt);  // a lead byte cut off
  EXPECT_EQ(platform::GbkToUtf8Lenient("a\xD6"), "a\xEF\xBF\xBD");
  EXPECT_EQ(platform::Utf8ToGbk("\xC3\xA9"), std::string("\xA8\xA6"));  // é is in the code page
  EXPECT_EQ(platform::Utf8ToGbk("한"), std::nullopt);                   // Hangul is not
  EXPECT_EQ(platform::HostTextFromTargetBytes(kGbk + "\\x.txt"), kUtf8 + "\\x.txt");
}

TEST(WindowsRegistry, RoundTripsBothRoots) {
  const std::string key = "Software\\OstrelLayerTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(GetTickCount());
  for (platform::RootKey root : {platform::kHkeyLocalMachine, platform::kHkeyCurrentUser}) {
    std::string out;
    EXPECT_EQ(platform::RegReadString(root, key, "Name", out), platform::RegResult::kKeyNotFound);
    ASSERT_EQ(platform::RegWriteString(root, key, "Name", kUtf8), platform::RegResult::kOk);
    EXPECT_EQ(platform::RegReadString(root, key, "Name", out), platform::RegResult::kOk);
    EXPECT_EQ(out, kUtf8);
    EXPECT_EQ(platform::RegReadString(root, key, "Other", out), platform::RegResult::kValueNotFound);
    EXPECT_EQ(platform::RegWriteString(root, key, "", "default"), platform::RegResult::kOk);
    EXPECT_EQ(platform::RegReadString(root, key, "", out), platform::RegResult::kOk);
    EXPECT_EQ(out, "default");
  }
  std::string out;
  EXPECT_EQ(platform::RegReadString(0x80000003u, key, "Name", out), platform::RegResult::kBadArgument);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, platform::win32::Wide(key).c_str(), KEY_WOW64_32KEY, 0);
  RegDeleteKeyW(HKEY_CURRENT_USER, platform::win32::Wide(key).c_str());
}

// The marker value that the ctest step after this one looks for with `reg query`.
TEST(WindowsRegistry, WritesTheMarkerIn32BitView) {
  const char* marker = std::getenv("OSTREL_REGISTRY_MARKER");
  if (!marker) GTEST_SKIP() << "OSTREL_REGISTRY_MARKER not set";
  EXPECT_EQ(platform::RegWriteString(platform::kHkeyLocalMachine, "Software\\OstrelLayerMarker", "Marker", marker),
            platform::RegResult::kOk);
}

TEST(WindowsProfile, ReadsCodePage936FilesByTheProfileRules) {
  testkit::TempDir dir;
  const std::string ini = dir.PathText("KELOPRO.INI");
  ASSERT_TRUE(testkit::WriteFile(dir / "KELOPRO.INI",
                                 "[Other]\r\nurl=no\r\n[ Setup ]\r\n LargeVer = 2.1 \r\nurl=\"" + kGbk +
                                 ".zip\"\r\ncrc=\r\n"));
  const auto read = [&](const char* section, const char* key, size_t size = 260) {
    return platform::GetPrivateProfileStringA(section, key, "def", ini, size);
  };
  EXPECT_EQ(read("Setup", "LargeVer"), "2.1");
  EXPECT_EQ(read("setup", "URL"), kUtf8 + ".zip");
  EXPECT_EQ(read("Setup", "crc"), "");
  EXPECT_EQ(read("Setup", "missing"), "def");
  EXPECT_EQ(read("Missing", "url"), "def");
  EXPECT_EQ(read("Setup", "LargeVer", 3), "2.");
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "url", "def", dir.PathText("none.ini"), 260), "def");
}

TEST(WindowsSystem, QueriesTheRunningSystem) {
  platform::OsVersionInfoEx info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(platform::GetVersionExA(info));
  EXPECT_EQ(info.dwPlatformId, 2u);  // VER_PLATFORM_WIN32_NT
  EXPECT_GE(info.dwMajorVersion, 5u);
  // Wine reports a workstation edition: XP, Vista, 7 by their codes, anything newer is unclassified.
  const std::map<std::pair<uint32_t, uint32_t>, int> codes{{{5, 1}, 6}, {{6, 0}, 11}, {{6, 1}, 14}};
  const auto code = codes.find({info.dwMajorVersion, info.dwMinorVersion});
  EXPECT_EQ(GetSysVersion(), code == codes.end() ? 0 : code->second)
      << info.dwMajorVersion << "." << info.dwMinorVersion;
  info.dwOSVersionInfoSize = 148;
  EXPECT_FALSE(platform::GetVersionExA(info));
  // As the process sees it: a 32-bit process an Intel processor (on 64-bit Windows too), a 64-bit
  // one AMD64.
  EXPECT_EQ(platform::GetProcessorArchitecture(), sizeof(void*) == 8 ? platform::kProcessorArchitectureAmd64
                                                                       : platform::kProcessorArchitectureIntel);
  const std::string windows = platform::GetWindowsDirectoryA();
  EXPECT_EQ(windows.substr(1), ":\\windows") << windows;
  EXPECT_EQ(platform::GetWindowsDirectoryA(5), "");
  EXPECT_EQ(platform::GetDriveTypeA(windows.substr(0, 3)), platform::kDriveFixed);
  platform::DiskFreeSpace space;
  EXPECT_TRUE(platform::GetDiskFreeSpaceA(windows.substr(0, 3), space));
  EXPECT_GT(space.bytesPerSector, 0u);
  EXPECT_EQ(platform::GetDriveTypeA("Q:\\"), platform::kDriveNoRootDir);
  EXPECT_FALSE(platform::GetDiskFreeSpaceA("Q:\\", space));
}

TEST(WindowsSystem, OwnPathAndLocalTime) {
  const std::string self = platform::ExecutablePath();
  ASSERT_GT(self.size(), 4u);
  EXPECT_EQ(self.substr(self.size() - 4), ".exe");
  EXPECT_EQ(platform::HostPath("C:\\a\\b"), "C:\\a\\b");
  EXPECT_EQ(platform::WindowsPath("C:\\a\\b"), "C:\\a\\b");
  const std::tm t = platform::LocalTime(86400 * 365);  // 1971-01-01 00:00 UTC, +/- a day
  EXPECT_TRUE(t.tm_year == 70 || t.tm_year == 71) << t.tm_year;
}

TEST(WindowsShell, SavesAShortcutWithItsTarget) {
  testkit::TempDir dir;
  ASSERT_TRUE(testkit::WriteFile(dir / "OstrelLauncher.exe", "MZ"));
  platform::ShellLink link{dir.PathText("OstrelLauncher.exe"), dir.PathText(), "OstrelPro", ""};
  const char* where = std::getenv("OSTREL_SHORTCUT_FILE");  // the ctest step reads it with lnkinfo
  const std::string file = where ? std::string(where) : dir.PathText("OstrelPro.lnk");
  ASSERT_EQ(platform::SaveShellLink(link, file), platform::ShellLinkResult::kOk);
  const auto bytes = platform::ReadWholeFile(file, 1 << 20);
  ASSERT_TRUE(bytes && bytes->size() > 76);
  EXPECT_EQ(bytes->substr(0, 4), std::string("\x4C\0\0\0", 4));  // the Shell Link header size
}

}  // namespace
