// The desktop shortcut and the elevated relaunch.
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tests/platform/lnkinfo.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"
#include "tests/testkit/wait.h"

namespace fs = std::filesystem;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(DesktopShortcut, AStandardParserReadsTargetWorkingFolderAndDescription) {
  if (!testutil::HaveLnkinfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  testkit::TempPrefix prefix;
  const std::string installDir = "D:\\Program Files\\Ostrel\\安装\\OstrelPlatform";
  CreateDesktopShortcut(installDir);
  const std::string out = testutil::Lnkinfo(
      platform::HostPath(ReadRegString(kShellFolders, "Desktop", kHkeyCurrentUser) + "\\OstrelPro.lnk"));
  EXPECT_NE(out.find("Local path\t\t\t: " + installDir + "\\OstrelLauncher.exe\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Working directory\t\t: " + installDir + "\\\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Description\t\t\t: Tarnwell\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("Command line arguments"), std::string::npos) << out;
}

TEST(DesktopShortcut, MadeTwiceLeavesOneFile) {
  testkit::TempPrefix prefix;
  CreateDesktopShortcut("C:\\First\\OstrelPlatform");
  CreateDesktopShortcut("C:\\Second\\OstrelPlatform");
  const std::string desktop = platform::HostPath(ReadRegString(kShellFolders, "Desktop", kHkeyCurrentUser));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(desktop)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"OstrelPro.lnk"});
  const std::string bytes = testkit::ReadFile(desktop + "/OstrelPro.lnk");
  EXPECT_NE(bytes.find("C:\\Second\\OstrelPlatform\\OstrelLauncher.exe"), std::string::npos);
  EXPECT_EQ(bytes.find("First"), std::string::npos);
}

TEST(DesktopShortcut, FollowsTheDesktopValueOrFallsBackToTheDriveRoot) {
  testkit::TempPrefix prefix;
  ASSERT_TRUE(platform::ForceDirectories("C:\\Elsewhere\\桌面"));
  WriteRegString(kShellFolders, "Desktop", "C:\\Elsewhere\\桌面", kHkeyCurrentUser);
  CreateDesktopShortcut("C:\\X\\OstrelPlatform");
  EXPECT_TRUE(fs::exists(prefix.path() + "/drive_c/Elsewhere/桌面/OstrelPro.lnk"));
  testkit::WriteFile(prefix.path() + "/user.reg", "WINE REGISTRY Version 2\n");  // no Desktop value
  CreateDesktopShortcut("C:\\X\\OstrelPlatform");
  EXPECT_TRUE(fs::exists(prefix.path() + "/drive_c/OstrelPro.lnk"));
}

TEST(RunAsAdmin, StartsTheProgramWithUacAndReturnsAtOnce) {
  testkit::TempPrefix prefix;
  const std::string script = prefix.scratch() + "/installer";
  // The started copy waits for a go file, so RunAsAdmin must return before it ends.
  testkit::WriteFile(script, "#!/bin/sh\nfor i in $(seq 1 500); do [ -e \"$0.go\" ] && break; sleep 0.02; done\n"
                              "echo \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  ::chmod(script.c_str(), 0755);
  RunAsAdmin(0, script, "UAC");
  EXPECT_FALSE(fs::exists(script + ".out"));
  testkit::WriteFile(script + ".go", "");
  testkit::WaitUntil([&] { return fs::exists(script + ".out"); });
  EXPECT_EQ(testkit::ReadFile(script + ".out"), "UAC\n");
  RunAsAdmin(0, prefix.scratch() + "/missing", "UAC");  // nothing to see, nothing thrown
}

}  // namespace
