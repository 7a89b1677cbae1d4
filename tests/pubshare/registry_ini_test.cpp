// ReadRegString / WriteRegString and ReadIniString as the installer uses them.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace {

TEST(RegString, RootZeroIsTheLocalMachineAndOnlyTextsRead) {
  testkit::TempPrefix prefix;
  const char key[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";
  WriteRegString(key, "", "C:\\A\\OstrelLauncher.exe", 0);
  WriteRegString(key, "Path", "C:\\A\\");
  EXPECT_EQ(ReadRegString(key, "", kHkeyLocalMachine), "C:\\A\\OstrelLauncher.exe");
  EXPECT_EQ(ReadRegString(key, "path"), "C:\\A\\");
  EXPECT_EQ(ReadRegString(key, "Path", kHkeyCurrentUser), "");
  EXPECT_EQ(testkit::ReadFile(prefix.path() + "/user.reg").find("OstrelNorvik"), std::string::npos);

  testkit::WriteFile(prefix.path() + "/system.reg",
                      testkit::ReadFile(prefix.path() + "/system.reg") + "\"Number\"=dword:00000010\n");
  EXPECT_EQ(ReadRegString(key, "Number"), "");
  EXPECT_EQ(ReadRegString(key, "Absent"), "");
  WriteRegString("K", "x", "y", 12345);  // unknown root: silently nothing
  EXPECT_EQ(ReadRegString("K", "x", 12345), "");
}

TEST(IniString, ReadsTheManifestAndNeverCreatesAFile) {
  testkit::TempPrefix prefix;
  const std::string ini = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\KELOPRO.INI";
  EXPECT_EQ(ReadIniString("Setup", "LargeVer", ini), "");
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/Program Files"));
  std::filesystem::create_directories(platform::HostPath("C:\\Program Files\\Ostrel\\InstOstrel\\Downloads"));
  testkit::WriteFile(platform::HostPath(ini), "[Setup]\r\nLargeVer = 3.0.12 \r\nurl=\"http://h/p.zip\"\r\nlong=" +
                                                   std::string(5000, 'v') + "\r\n");
  EXPECT_EQ(ReadIniString("setup", "LargeVer", ini), "3.0.12");
  EXPECT_EQ(ReadIniString("Setup", "URL", ini), "http://h/p.zip");
  EXPECT_EQ(ReadIniString("Setup", "long", ini), std::string(2047, 'v'));
  EXPECT_EQ(ReadIniString("Other", "url", ini), "");
  EXPECT_EQ(ReadIniString("Setup", "url", "C:\\Program Files"), "");  // a folder
}

}  // namespace
