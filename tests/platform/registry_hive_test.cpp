// The hive text format: escapes, files written by Wine, rewrites that keep what they don't touch.
#include <gtest/gtest.h>

#include "platform/posix/registry_escape.h"
#include "platform/posix/registry_hive.h"

using platform::posix::EscapeKeyName;
using platform::posix::EscapeQuoted;
using platform::posix::Hive;

namespace {

// As Wine writes it: time stamps, typed values, a hex list going on over two lines.
const char kWineSample[] =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
    "[Software\\\\Ostrel\\\\OstrelService] 1699999999\n#time=1da1234567890ab\n"
    "@=\"service default\"\n"
    "\"InstallPath\"=\"C:\\\\Program Files\\\\Ostrel\\\\\"\n"
    "\"Count\"=dword:00000007\n"
    "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n  17,18,19\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
    "\"Multi\"=str(7):\"a\\0b\\0\"\n"
    "\"HexText\"=hex(2):41,00,42,00,\\\n  43,00,00,00\n"
    "\"Name\\x4e2d\"=\"\\x6587\\x4ef6\"\n"
    "\n[Software\\\\Other] 1600000000\n#time=1d000000000000\n\"Kept\"=dword:ffffffff\n";

TEST(RegistryEscape, WritesWhatWineWrites) {
  EXPECT_EQ(EscapeQuoted("say \"hi\" \\ ok"), "say \\\"hi\\\" \\\\ ok");
  EXPECT_EQ(EscapeQuoted("a\nb\tc"), "a\\nb\\tc");
  EXPECT_EQ(EscapeQuoted(std::string("\x01x\x01" "7", 4)), "\\1x\\0017");  // three octal digits before a digit
  EXPECT_EQ(EscapeKeyName("Soft]ware\\Sub[1]"), "Soft\\]ware\\\\Sub\\[1\\]");
  EXPECT_EQ(EscapeQuoted("]["), "][");
  EXPECT_EQ(EscapeQuoted("中文"), "\\x4e2d\\x6587");
  EXPECT_EQ(EscapeQuoted("中a"), "\\x4e2da");  // four digits when a hex digit follows
  EXPECT_EQ(EscapeQuoted("😀"), "\\xd83d\\xde00");
}

TEST(RegistryEscape, HostileTextsSurviveTheTrip) {
  const std::string texts[] = {"", "\"quoted\" and \\\"escaped\\\"", "trailing backslash\\", "line1\nline2\r\n",
                               std::string("nul\0inside", 10), "bell\a esc\x1b del\x7f", "中文路径 — ünïcödé 😀",
                               "\xB0\xB2\xD7\xB0 GBK \xFF\xFE", "]][[ \"=@ #;", "\\x4e2d is no escape"};
  for (const std::string& text : texts) {
    for (char closing : {'"', ']'}) {
      const std::string escaped = (closing == '"' ? EscapeQuoted(text) : EscapeKeyName(text)) + closing + "tail";
      for (char c : escaped) ASSERT_TRUE(c >= 32) << escaped;  // one line of ASCII
      size_t pos = 0;
      std::string back;
      ASSERT_TRUE(platform::posix::UnescapeUntil(escaped, pos, closing, back)) << escaped;
      EXPECT_EQ(back, text);
      EXPECT_EQ(escaped.substr(pos), std::string(1, closing) + "tail");
    }
  }
  size_t pos = 0;
  std::string out;
  EXPECT_FALSE(platform::posix::UnescapeUntil("escaped closing \\\"", pos, '"', out));
}

TEST(HiveFile, ReadsAWineWrittenFile) {
  const auto hive = Hive::Parse(kWineSample);
  ASSERT_TRUE(hive);
  const std::string key = "Software\\Ostrel\\OstrelService";
  EXPECT_EQ(hive->ReadText(key, ""), "service default");
  EXPECT_EQ(hive->ReadText("\\SOFTWARE\\ostrel\\OSTRELSERVICE\\", "installpath"), "C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(hive->ReadText(key, "Expand"), "%SystemRoot%\\x");  // read unexpanded
  EXPECT_EQ(hive->ReadText(key, "HexText"), "ABC");
  EXPECT_EQ(hive->ReadText(key, "Name中"), "文件");
  for (const char* other : {"Count", "Blob", "Multi"}) {
    bool found = false;
    EXPECT_FALSE(hive->ReadText(key, other, &found)) << other;
    EXPECT_TRUE(found) << other;
  }
  EXPECT_TRUE(hive->KeyExists("software\\OSTREL"));  // a parent without a section of its own
  EXPECT_FALSE(hive->KeyExists("Software\\Ostre"));
  EXPECT_FALSE(hive->KeyExists("Software\\\\Ostrel"));
  EXPECT_FALSE(Hive::Parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n"));
  EXPECT_EQ(Hive::Parse("WINE REGISTRY Version 2\r\n[A] 1\r\n\"x\"=\"y\"\r\n")->ReadText("a", "X"), "y");
}

// Blanks around "=" as people write them by hand, and as Wine reads them.
TEST(HiveFile, ReadsHandEditedLinesWithBlanksAroundTheEqualsSign) {
  const auto hive = Hive::Parse("WINE REGISTRY Version 2\n[A] 1\n\"x\" = \"y\"\n@ =\t\"d\"\n\"n\"= dword:1\n");
  ASSERT_TRUE(hive);
  EXPECT_EQ(hive->ReadText("A", "x"), "y");
  EXPECT_EQ(hive->ReadText("A", ""), "d");
  bool found = false;
  EXPECT_FALSE(hive->ReadText("A", "n", &found));
  EXPECT_TRUE(found);
}

TEST(HiveFile, RewriteKeepsUntouchedLinesVerbatim) {
  auto hive = Hive::Parse(kWineSample);
  ASSERT_TRUE(hive);
  hive->WriteText("Software\\Ostrel\\OstrelService", "INSTALLPATH", "D:\\New", 1700000000);
  hive->WriteText("Software\\New\\Key", "", "fresh", 1700000000);
  const std::string text = hive->Serialize();
  const std::string sample = kWineSample;
  for (const char* kept : {"\"Count\"", "\"Blob\"", "\"Expand\"", "\"Multi\"", "\"HexText\"", "[Software\\\\Other]"}) {
    const size_t at = sample.find(kept), end = sample.find("\n\"", at + 1);
    EXPECT_NE(text.find(sample.substr(at, end - at)), std::string::npos) << kept;
  }
  EXPECT_EQ(text.rfind("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n[", 0), 0u);
  // The changed key gets the new time in both forms, and keeps the stored letter case of the name.
  EXPECT_NE(text.find("[Software\\\\Ostrel\\\\OstrelService] 1700000000\n#time=1da1747c66d0000\n"), std::string::npos);
  EXPECT_NE(text.find("\n\"InstallPath\"=\"D:\\\\New\"\n"), std::string::npos);
  EXPECT_EQ(text.find("Program Files"), std::string::npos);
  EXPECT_NE(text.find("[Software\\\\New\\\\Key] 1700000000\n#time=1da1747c66d0000\n@=\"fresh\"\n"), std::string::npos);
  EXPECT_EQ(Hive::Parse(text)->Serialize(), text);
}

}  // namespace
