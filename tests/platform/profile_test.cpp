// INI reading by the private-profile rules.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/posix/ini_text.h"
#include "platform/profile.h"
#include "tests/platform/temp_prefix.h"

using platform::posix::FindIniValue;

namespace {

const char kManifest[] =
    "; version manifest\r\n"
    "[Other]\r\n"
    "url=wrong\r\n"
    "  [ setup ]  \r\n"
    "  LargeVer =  3.2.1   \r\n"
    "URL=\"http://example.invalid/dlcpx/pkg.zip\"\r\n"
    "crc='6B9DF6F'\r\n"
    "half=\"open\r\n"
    "mixed=\"a'\r\n"
    "inner=a \"b\" c\r\n"
    "empty=\r\n"
    "noequals\r\n"
    "eq=a=b\r\n"
    "[Setup]\r\n"
    "late=second section of the same name\r\n";

TEST(IniText, SectionsAndKeysIgnoreCaseAndBlanks) {
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "LargeVer"), "3.2.1");
  EXPECT_EQ(FindIniValue(kManifest, "SETUP", "largever"), "3.2.1");
  EXPECT_EQ(FindIniValue(kManifest, " Setup ", " url "), "http://example.invalid/dlcpx/pkg.zip");
  EXPECT_EQ(FindIniValue(kManifest, "other", "URL"), "wrong");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "eq"), "a=b");
}

TEST(IniText, OnePairOfMatchingQuotesIsRemoved) {
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "crc"), "6B9DF6F");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "half"), "\"open");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "mixed"), "\"a'");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "inner"), "a \"b\" c");
  EXPECT_EQ(FindIniValue("[s]\nk=\"\"\"x\"\"\"\n", "s", "k"), "\"\"x\"\"");
}

TEST(IniText, MissingThingsGiveNothing) {
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "empty"), "");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "noequals"), "");
  EXPECT_FALSE(FindIniValue(kManifest, "Setup", "absent"));
  EXPECT_FALSE(FindIniValue(kManifest, "Setup", "late"));  // only the first section of a name is read
  EXPECT_FALSE(FindIniValue(kManifest, "Nope", "url"));
  EXPECT_FALSE(FindIniValue("url=top\n[Setup]\n", "Setup", "url"));
  EXPECT_FALSE(FindIniValue("", "Setup", "url"));
  EXPECT_EQ(FindIniValue("\xEF\xBB\xBF[Setup]\nk=v", "Setup", "k"), "v");  // byte order mark, no final newline
}

TEST(PrivateProfile, ReadsFilesByWindowsPathAndNeverCreatesThem) {
  testutil::TempPrefix prefix;
  const std::string dir = prefix.scratch() + "/ini";
  std::filesystem::create_directories(dir);
  testutil::WriteFile(dir + "/KELOPRO.INI", kManifest);
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "LargeVer", "", dir + "/KELOPRO.INI", 2048), "3.2.1");
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "absent", "dflt", dir + "/KELOPRO.INI", 2048), "dflt");

  const std::string missing = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\KELOPRO.INI";
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "url", "", missing, 2048), "");
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/Program Files"));
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing.ini"));
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "url", "", dir + "/missing.ini", 2048), "");
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing.ini"));
}

TEST(PrivateProfile, AtMostBufferMinusOneCharactersComeBack) {
  testutil::TempDir dir;
  const std::string file = dir.path() + "/long.ini";
  testutil::WriteFile(file, "[s]\nk=\"" + std::string(3000, 'x') + "\"\nm=" + std::string(2046, 'a') + "中\n");
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", file, 2048), std::string(2047, 'x'));
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", file, 1), "");
  // A character is never cut in half.
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "m", "", file, 2048), std::string(2046, 'a'));
}

TEST(PrivateProfile, AFileInTheTargetCodePageReadsAsUtf8) {
  testutil::TempDir dir;
  const std::string file = dir.path() + "/gbk.ini";
  // "版本" and "安装" in code page 936.
  testutil::WriteFile(file, "[\xB0\xB2\xD7\xB0]\r\nLargeVer=\xB0\xE6\xB1\xBE 2\r\n");
  EXPECT_EQ(platform::GetPrivateProfileStringA("安装", "LargeVer", "", file, 2048), "版本 2");
  testutil::WriteFile(file, "[Setup]\nLargeVer=版本 3\n");  // UTF-8 stays as it is
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "LargeVer", "", file, 2048), "版本 3");
}

}  // namespace
