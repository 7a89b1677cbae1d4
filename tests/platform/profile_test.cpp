// INI reading by the private-profile rules.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/ini_text.h"
#include "platform/profile.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

using platform::FindIniValue;

namespace {

const char kManifest[] =
    "; version manifest\r\n[Other]\r\nurl=wrong\r\n"
    "  [ setup ]  \r\n"
    "  LargeVer =  3.2.1   \r\n"
    "URL=\"http://example.invalid/pkg.zip\"\r\n"
    "crc='6B9DF6F'\r\n"
    "half=\"open\r\nmixed=\"a'\r\ninner=a \"b\" c\r\nempty=\r\nnoequals\r\neq=a=b\r\n"
    "[Setup]\r\nlate=second section of the same name\r\n";

TEST(IniText, FollowsTheProfileRules) {
  EXPECT_EQ(FindIniValue(kManifest, "SETUP", "largever"), "3.2.1");
  EXPECT_EQ(FindIniValue(kManifest, " Setup ", " url "), "http://example.invalid/pkg.zip");
  EXPECT_EQ(FindIniValue(kManifest, "other", "URL"), "wrong");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "eq"), "a=b");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "crc"), "6B9DF6F");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "half"), "\"open");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "mixed"), "\"a'");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "inner"), "a \"b\" c");
  EXPECT_EQ(FindIniValue(kManifest, "Setup", "empty"), "");
  EXPECT_FALSE(FindIniValue(kManifest, "Setup", "noequals"));  // a line without "=" names no key
  EXPECT_FALSE(FindIniValue(kManifest, "Setup", "absent"));
  EXPECT_FALSE(FindIniValue(kManifest, "Setup", "late"));  // only the first section of a name counts
  EXPECT_FALSE(FindIniValue(kManifest, "Nope", "url"));
  EXPECT_FALSE(FindIniValue("url=top\n[Setup]\n", "Setup", "url"));
  EXPECT_EQ(FindIniValue("\xEF\xBB\xBF[Setup]\nk=v", "Setup", "k"), "v");  // byte order mark, no last newline
  EXPECT_EQ(FindIniValue("[Setup]\rk=v\r=no name\r", "Setup", "k"), "v");     // a lone CR ends a line
  EXPECT_EQ(FindIniValue("[Setup]\rk=v\r=no name\r", "Setup", ""), "no name");
}

TEST(PrivateProfile, MissingFilesAreNeverCreatedAndValuesAreCut) {
  testkit::TempPrefix prefix;
  const std::string missing = "C:\\Program Files\\Ostrel\\KELOPRO.INI";
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "url", "dflt", missing, 2048), "dflt");
  EXPECT_FALSE(std::filesystem::exists(prefix.path() + "/drive_c/Program Files"));

  const std::string file = prefix.scratch() + "/long.ini";
  testkit::WriteFile(file, "[s]\nk=\"" + std::string(3000, 'x') + "\"\nm=" + std::string(2046, 'a') + "中\n");
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", file, 2048), std::string(2047, 'x'));
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", file, 1), "");
  EXPECT_EQ(platform::GetPrivateProfileStringA("s", "m", "", file, 2048), std::string(2046, 'a'));  // never half a character
}

TEST(PrivateProfile, AFileInTheTargetCodePageReadsAsUtf8) {
  testkit::TempDir dir;
  const std::string file = (dir / "gbk.ini").string();
  testkit::WriteFile(file, "[\xB0\xB2\xD7\xB0]\r\nLargeVer=\xB0\xE6\xB1\xBE 2\r\n");  // "安装", "版本" in GBK
  EXPECT_EQ(platform::GetPrivateProfileStringA("安装", "LargeVer", "", file, 2048), "版本 2");
  testkit::WriteFile(file, "[Setup]\nLargeVer=版本 3\n");
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "LargeVer", "", file, 2048), "版本 3");
}

}  // namespace
