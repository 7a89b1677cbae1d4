// The desktop shortcut and the elevated relaunch.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tests/platform/lnkinfo.h"
#include "tests/platform/temp_prefix.h"

namespace fs = std::filesystem;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

TEST(DesktopShortcut, LandsOnTheDesktopAndReadsBackWithAStandardParser) {
  if (!testutil::HaveLnkinfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  testutil::TempPrefix prefix;
  const std::string installDir = "D:\\Program Files\\Ostrel\\OstrelPlatform";
  CreateDesktopShortcut(installDir);
  const std::string desktop = ReadRegString(kShellFolders, "Desktop", kHkeyCurrentUser);
  ASSERT_FALSE(desktop.empty());
  const std::string link = platform::HostPath(desktop + "\\OstrelPro.lnk");
  ASSERT_TRUE(fs::exists(link));
  const std::string out = testutil::Lnkinfo(link);
  EXPECT_NE(out.find("Local path\t\t\t: " + installDir + "\\OstrelLauncher.exe\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Working directory\t\t: " + installDir + "\\\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Description\t\t\t: Tarnwell\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("Command line arguments"), std::string::npos) << out;
}

TEST(DesktopShortcut, MadeTwiceLeavesOneFile) {
  testutil::TempPrefix prefix;
  CreateDesktopShortcut("C:\\First\\OstrelPlatform");
  CreateDesktopShortcut("C:\\Second\\OstrelPlatform");
  const std::string desktop = platform::HostPath(ReadRegString(kShellFolders, "Desktop", kHkeyCurrentUser));
  EXPECT_EQ(Entries(desktop), std::vector<std::string>{"OstrelPro.lnk"});
  const std::string bytes = testutil::ReadFile(desktop + "/OstrelPro.lnk");
  EXPECT_NE(bytes.find("C:\\Second\\OstrelPlatform\\OstrelLauncher.exe"), std::string::npos);
  EXPECT_EQ(bytes.find("First"), std::string::npos);
}

TEST(DesktopShortcut, WithoutTheDesktopValueItLandsInTheRootOfTheCurrentDrive) {
  testutil::TempPrefix prefix;
  ASSERT_FALSE(GetWindowsDir().empty());  // seeds the prefix
  testutil::WriteFile(prefix.path() + "/user.reg", "WINE REGISTRY Version 2\n");
  CreateDesktopShortcut("C:\\X\\OstrelPlatform");
  EXPECT_TRUE(fs::exists(prefix.path() + "/drive_c/OstrelPro.lnk"));
}

TEST(DesktopShortcut, ADesktopValueNamingAnotherFolderIsFollowed) {
  testutil::TempPrefix prefix;
  ASSERT_TRUE(platform::ForceDirectories("C:\\Elsewhere\\桌面"));
  WriteRegString(kShellFolders, "Desktop", "C:\\Elsewhere\\桌面", kHkeyCurrentUser);
  CreateDesktopShortcut("C:\\X\\OstrelPlatform");
  EXPECT_TRUE(fs::exists(prefix.path() + "/drive_c/Elsewhere/桌面/OstrelPro.lnk"));
}

TEST(RunAsAdmin, StartsTheProgramWithUacAndReturnsAtOnce) {
  testutil::TempPrefix prefix;
  const std::string script = prefix.scratch() + "/installer";
  // The started copy waits for a go file, so RunAsAdmin can only return before it ends.
  testutil::WriteFile(script,
                      "#!/bin/sh\n"
                      "for i in $(seq 1 500); do [ -e \"$0.go\" ] && break; sleep 0.02; done\n"
                      "echo \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  ::chmod(script.c_str(), 0755);
  RunAsAdmin(0, script, "UAC");
  EXPECT_FALSE(fs::exists(script + ".out"));
  testutil::WriteFile(script + ".go", "");
  for (int i = 0; i < 1000 && !fs::exists(script + ".out"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(testutil::ReadFile(script + ".out"), "UAC\n");
  RunAsAdmin(0, prefix.scratch() + "/missing", "UAC");  // nothing to see, nothing thrown
}

}  // namespace
