// ReadRegString / WriteRegString and ReadIniString as the installer uses them.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "support/pubShare.h"
#include "tests/platform/temp_prefix.h"

namespace {

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
const char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";

TEST(RegString, RootZeroIsTheLocalMachine) {
  testutil::TempPrefix prefix;
  WriteRegString(kUninstallKey, "DisplayIcon", "\"C:\\Ostrel\\OstrelPlatform\\OstrelLauncher.exe\"", 0);
  EXPECT_EQ(ReadRegString(kUninstallKey, "DisplayIcon", kHkeyLocalMachine),
            "\"C:\\Ostrel\\OstrelPlatform\\OstrelLauncher.exe\"");
  EXPECT_EQ(ReadRegString(kUninstallKey, "DisplayIcon"), "\"C:\\Ostrel\\OstrelPlatform\\OstrelLauncher.exe\"");
  EXPECT_EQ(ReadRegString(kUninstallKey, "DisplayIcon", kHkeyCurrentUser), "");
  EXPECT_NE(testutil::ReadFile(prefix.path() + "/system.reg").find("DisplayIcon"), std::string::npos);
  EXPECT_EQ(testutil::ReadFile(prefix.path() + "/user.reg").find("DisplayIcon"), std::string::npos);
}

TEST(RegString, DefaultValueByEmptyNameAndOverwrite) {
  testutil::TempPrefix prefix;
  WriteRegString(kAppPathKey, "", "C:\\A\\OstrelLauncher.exe");
  WriteRegString(kAppPathKey, "Path", "C:\\A\\");
  WriteRegString(kAppPathKey, "Path", "D:\\B\\");
  EXPECT_EQ(ReadRegString(kAppPathKey, ""), "C:\\A\\OstrelLauncher.exe");
  EXPECT_EQ(ReadRegString(kAppPathKey, "path"), "D:\\B\\");
}

TEST(RegString, MissingOrNonTextValuesReadEmpty) {
  testutil::TempPrefix prefix;
  EXPECT_EQ(ReadRegString("SOFTWARE\\Ostrel\\OstrelService\\", "InstallPath"), "");
  WriteRegString("SOFTWARE\\Ostrel\\OstrelService\\", "Text", "t");
  std::string hive = testutil::ReadFile(prefix.path() + "/system.reg");
  hive += "\"Number\"=dword:00000010\n";  // appended to the last key, the one just written
  testutil::WriteFile(prefix.path() + "/system.reg", hive);
  EXPECT_EQ(ReadRegString("SOFTWARE\\Ostrel\\OstrelService\\", "Text"), "t");
  EXPECT_EQ(ReadRegString("SOFTWARE\\Ostrel\\OstrelService\\", "Number"), "");
  EXPECT_EQ(ReadRegString("SOFTWARE\\Ostrel\\OstrelService\\", "Absent"), "");
  EXPECT_EQ(ReadRegString("", "Text"), "");
  WriteRegString("", "x", "y");  // silently nothing
  WriteRegString("K", "x", "y", 12345);
  EXPECT_EQ(ReadRegString("K", "x", 12345), "");
}

TEST(IniString, ReadsTheManifestAndNeverCreatesAFile) {
  testutil::TempPrefix prefix;
  const std::string ini = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\KELOPRO.INI";
  EXPECT_EQ(ReadIniString("Setup", "LargeVer", ini), "");
  EXPECT_FALSE(std::filesystem::exists(platform::HostPath(ini)));
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/Program Files"));

  std::filesystem::create_directories(platform::HostPath("C:\\Program Files\\Ostrel\\InstOstrel\\Downloads"));
  testutil::WriteFile(platform::HostPath(ini),
                      "[Setup]\r\nLargeVer = 3.0.12 \r\nurl=\"http://h/dlcpx/p.zip\"\r\ncrc=6B9DF6F\r\nlong=" +
                          std::string(5000, 'v') + "\r\n");
  EXPECT_EQ(ReadIniString("Setup", "LargeVer", ini), "3.0.12");
  EXPECT_EQ(ReadIniString("setup", "URL", ini), "http://h/dlcpx/p.zip");
  EXPECT_EQ(ReadIniString("Setup", "crc", ini), "6B9DF6F");
  EXPECT_EQ(ReadIniString("Setup", "long", ini), std::string(2047, 'v'));
  EXPECT_EQ(ReadIniString("Setup", "missing", ini), "");
  EXPECT_EQ(ReadIniString("Other", "crc", ini), "");
  EXPECT_EQ(ReadIniString("Setup", "crc", "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads"), "");  // a folder
}

}  // namespace
