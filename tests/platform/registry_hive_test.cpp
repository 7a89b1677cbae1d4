// The hive text format: escapes, Wine-written files, rewrites that keep what they don't touch.
#include <gtest/gtest.h>

#include "platform/posix/registry_escape.h"
#include "platform/posix/registry_hive.h"
#include "platform/posix/utf16.h"

using platform::posix::DecodeTextValue;
using platform::posix::EscapeKeyName;
using platform::posix::EscapeQuoted;
using platform::posix::Hive;

namespace {

// A file as Wine writes it, edited by hand a little.
const char kWineSample[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Ostrel\\\\OstrelService] 1699999999\n"
    "#time=1da1234567890ab\n"
    "@=\"service default\"\n"
    "\"InstallPath\"=\"C:\\\\Program Files\\\\Ostrel\\\\\"\n"
    "\"Count\"=dword:00000007\n"
    "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19\n"
    "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n"
    "\"Multi\"=str(7):\"a\\0b\\0\"\n"
    "\"HexText\"=hex(2):41,00,42,00,\\\n"
    "  43,00,00,00\n"
    "\"Name\\x4e2d\"=\"\\x6587\\x4ef6\"\n"
    "\n"
    "[Software\\\\Other] 1600000000\n"
    "#time=1d000000000000\n"
    "\"Kept\"=dword:ffffffff\n";

TEST(RegistryEscape, DelimitersBackslashesAndControlsAreEscaped) {
  EXPECT_EQ(EscapeQuoted("say \"hi\" \\ ok"), "say \\\"hi\\\" \\\\ ok");
  EXPECT_EQ(EscapeQuoted("a\nb\tc\rd"), "a\\nb\\tc\\rd");
  EXPECT_EQ(EscapeQuoted(std::string("x\x01y", 3)), "x\\1y");
  EXPECT_EQ(EscapeQuoted(std::string("x\x01" "7", 3)), "x\\0017");  // an octal digit follows: three digits
  EXPECT_EQ(EscapeKeyName("Soft]ware\\Sub[1]"), "Soft\\]ware\\\\Sub\\[1\\]");
  EXPECT_EQ(EscapeQuoted("]["), "][");  // brackets need no escape inside quotes
}

TEST(RegistryEscape, NonAsciiBecomesUtf16HexWithFourDigitsBeforeAHexDigit) {
  EXPECT_EQ(EscapeQuoted("中文"), "\\x4e2d\\x6587");
  EXPECT_EQ(EscapeQuoted("中a"), "\\x4e2da");  // "a" is a hex digit: all four digits are written
  EXPECT_EQ(EscapeQuoted("é!"), "\\xe9!");
  EXPECT_EQ(EscapeQuoted("😀"), "\\xd83d\\xde00");
}

TEST(RegistryEscape, HostileTextsSurviveEscapeAndUnescape) {
  const std::string texts[] = {
      "",
      "plain",
      "\"quoted\" and \\\"escaped\\\"",
      "trailing backslash\\",
      "\\\\server\\share\\",
      "line1\nline2\r\nline3",
      std::string("nul\0inside", 10),
      "bell\a esc\x1b del\x7f",
      "中文路径 — ünïcödé 😀",
      "\xB0\xB2\xD7\xB0 GBK bytes \xFF\xFE",  // not UTF-8 at all
      "]][[ \"=@ #;",
      "\\x4e2d is not an escape",
  };
  for (const std::string& text : texts) {
    for (char closing : {'"', ']'}) {
      const std::string escaped = (closing == '"' ? EscapeQuoted(text) : EscapeKeyName(text)) + closing + "tail";
      size_t pos = 0;
      std::string back;
      ASSERT_TRUE(platform::posix::UnescapeUntil(escaped, pos, closing, back)) << escaped;
      EXPECT_EQ(back, text) << escaped;
      EXPECT_EQ(escaped.substr(pos), std::string(1, closing) + "tail");
      for (char c : escaped) EXPECT_TRUE(static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 128);
    }
  }
}

TEST(RegistryEscape, ReadsTheEscapesOtherWritersUse) {
  size_t pos = 0;
  std::string out;
  ASSERT_TRUE(platform::posix::UnescapeUntil("\\x41\\101\\e\\v\\q\"", pos, '"', out));
  EXPECT_EQ(out, "AA\x1b\vq");
  pos = 0;
  EXPECT_FALSE(platform::posix::UnescapeUntil("no closing quote", pos, '"', out));
  pos = 0;
  EXPECT_FALSE(platform::posix::UnescapeUntil("escaped closing \\\"", pos, '"', out));
}

TEST(Utf16, InvalidUtf8BytesRoundTrip) {
  const std::string bytes = "ok \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE4\xB8 end\xE4";
  EXPECT_EQ(platform::posix::Utf16ToUtf8(platform::posix::Utf8ToUtf16(bytes)), bytes);
  EXPECT_EQ(platform::posix::Utf8ToUtf16("a中😀"), std::u16string(u"a中😀"));
}

TEST(HiveFile, ReadsAWineWrittenFile) {
  const auto hive = Hive::Parse(kWineSample);
  ASSERT_TRUE(hive);
  const std::string key = "Software\\Ostrel\\OstrelService";
  EXPECT_EQ(hive->ReadText(key, ""), "service default");
  EXPECT_EQ(hive->ReadText(key, "InstallPath"), "C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(hive->ReadText(key, "Expand"), "%SystemRoot%\\x");  // expandable strings read unexpanded
  EXPECT_EQ(hive->ReadText(key, "HexText"), "ABC");
  EXPECT_EQ(hive->ReadText(key, "Name中"), "文件");

  for (const char* other : {"Count", "Blob", "Multi"}) {
    bool found = false;
    EXPECT_FALSE(hive->ReadText(key, other, &found)) << other;
    EXPECT_TRUE(found) << other;
  }
  bool found = true;
  EXPECT_FALSE(hive->ReadText(key, "Missing", &found));
  EXPECT_FALSE(found);
}

TEST(HiveFile, KeyAndValueNamesIgnoreLetterCaseAndOuterBackslashes) {
  const auto hive = Hive::Parse(kWineSample);
  ASSERT_TRUE(hive);
  EXPECT_EQ(hive->ReadText("\\SOFTWARE\\ostrel\\OSTRELSERVICE\\", "installpath"), "C:\\Program Files\\Ostrel\\");
  EXPECT_TRUE(hive->KeyExists("software\\OSTREL"));  // a parent that has no section of its own
  EXPECT_TRUE(hive->KeyExists("Software"));
  EXPECT_FALSE(hive->KeyExists("Software\\Ostre"));  // a prefix of a name is not a parent
  EXPECT_FALSE(hive->KeyExists("Software\\\\Ostrel"));
}

TEST(HiveFile, RewriteKeepsUntouchedLinesVerbatim) {
  auto hive = Hive::Parse(kWineSample);
  ASSERT_TRUE(hive);
  hive->WriteText("Software\\Ostrel\\OstrelService", "InstallPath", "D:\\New", 1700000000);
  hive->WriteText("Software\\New\\Key", "", "fresh", 1700000000);
  const std::string text = hive->Serialize();

  for (const char* kept : {"WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n",
                           "\"Count\"=dword:00000007\n",
                           "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n  17,18,19\n",
                           "\"Expand\"=str(2):\"%SystemRoot%\\\\x\"\n", "\"Multi\"=str(7):\"a\\0b\\0\"\n",
                           "[Software\\\\Other] 1600000000\n#time=1d000000000000\n\"Kept\"=dword:ffffffff\n"})
    EXPECT_NE(text.find(kept), std::string::npos) << kept;

  // The changed key carries the new time stamp, in both forms.
  EXPECT_NE(text.find("[Software\\\\Ostrel\\\\OstrelService] 1700000000\n#time=1da1747c66d0000\n"), std::string::npos);
  EXPECT_NE(text.find("\"InstallPath\"=\"D:\\\\New\"\n"), std::string::npos);
  EXPECT_EQ(text.find("Program Files"), std::string::npos);
  EXPECT_NE(text.find("[Software\\\\New\\\\Key] 1700000000\n#time=1da1747c66d0000\n@=\"fresh\"\n"), std::string::npos);

  const auto again = Hive::Parse(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Serialize(), text);
}

TEST(HiveFile, OverwritingKeepsTheStoredNameAndOneLine) {
  Hive hive = Hive::Empty("\\Machine");
  hive.WriteText("K", "DisplayName", "one", 1);
  hive.WriteText("k", "DISPLAYNAME", "two", 2);
  const std::string text = hive.Serialize();
  EXPECT_EQ(text.find("one"), std::string::npos);
  EXPECT_NE(text.find("\"DisplayName\"=\"two\""), std::string::npos);
  EXPECT_EQ(text.find("[k]"), std::string::npos);  // no second section
}

TEST(HiveFile, HostileNamesAndValuesRoundTripThroughTheText) {
  Hive hive = Hive::Empty("\\User\\S-1-5-21-0-0-0-1000");
  const std::string key = "Soft]ware\\[bracket]\\中文\\x\"q";
  const std::string name = "na\"me = ]\\ 名";
  const std::string value = std::string("v\"a\\l\nu\te\0 中 \xB0\xA1 ]", 19);
  hive.WriteText(key, name, value, 5);
  hive.WriteText(key, "", "default", 5);
  const auto back = Hive::Parse(hive.Serialize());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->ReadText(key, name), value);
  EXPECT_EQ(back->ReadText(key, ""), "default");
  EXPECT_TRUE(back->KeyExists("Soft]ware\\[bracket]"));
}

TEST(HiveFile, RefusesTextsThatAreNotHives) {
  EXPECT_FALSE(Hive::Parse(""));
  EXPECT_FALSE(Hive::Parse("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n"));
  EXPECT_TRUE(Hive::Parse("WINE REGISTRY Version 2\r\n[A] 1\r\n\"x\"=\"y\"\r\n"));
  EXPECT_EQ(Hive::Parse("WINE REGISTRY Version 2\r\n[A] 1\r\n\"x\"=\"y\"\r\n")->ReadText("A", "x"), "y");
}

TEST(HiveFile, DecodesOnlyTextTypes) {
  EXPECT_EQ(DecodeTextValue("\"a\\\"b\""), "a\"b");
  EXPECT_EQ(DecodeTextValue("str(1):\"s\""), "s");
  EXPECT_EQ(DecodeTextValue("hex(1):68,00,69,00,00,00"), "hi");
  EXPECT_FALSE(DecodeTextValue("dword:00000001"));
  EXPECT_FALSE(DecodeTextValue("hex:68,00"));
  EXPECT_FALSE(DecodeTextValue("hex(7):61,00,00,00,00,00"));
  EXPECT_FALSE(DecodeTextValue("hex(2):6g,00"));
  EXPECT_FALSE(DecodeTextValue("\"unterminated"));
}

}  // namespace
