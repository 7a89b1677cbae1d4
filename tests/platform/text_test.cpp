// ASCII classes, trimming and number parsing, whatever the locale.
#include <clocale>
#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

TEST(Text, ClassesAreAsciiOnly) {
  std::setlocale(LC_ALL, "");  // what a window toolkit does at start-up
  for (int b = 128; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_FALSE(platform::IsSpace(c) || platform::IsAlpha(c) || platform::IsDigit(c) || platform::IsHexDigit(c)) << b;
  }
  EXPECT_TRUE(platform::IsSpace('\v') && platform::IsSpace('\r') && !platform::IsSpace('\0'));
  EXPECT_TRUE(platform::IsAlpha('z') && platform::IsAlpha('Z') && !platform::IsAlpha('@') && !platform::IsAlpha('['));
  EXPECT_EQ(platform::HexDigitValue('f'), 15);
  EXPECT_EQ(platform::HexDigitValue('F'), 15);
  EXPECT_EQ(platform::HexDigitValue('g'), -1);
  std::setlocale(LC_ALL, "C");
}

TEST(Text, TrimDropsOnlyTheEnds) {
  EXPECT_EQ(platform::Trim(" \t\r\n a b \f\v"), "a b");
  EXPECT_EQ(platform::Trim("   "), "");
  EXPECT_EQ(platform::Trim("\xE4\xB8\xAD "), "\xE4\xB8\xAD");  // a Chinese character's bytes stay
  EXPECT_EQ(platform::TrimBlanksAndControls("\x01 x\x1F\x7F"), "x\x1F\x7F");
  EXPECT_EQ(platform::TrimBlanksAndControls("\x1F x \x01"), "x");
}

TEST(Text, DecimalParsingIsStrictAndOverflowSafe) {
  const struct {
    const char* text;
    std::optional<int32_t> i32;
    std::optional<int64_t> i64;
  } cases[] = {
      {"0", 0, 0},
      {"+42", 42, 42},
      {"-42", -42, -42},
      {"007", 7, 7},
      {"2147483647", INT32_MAX, INT32_MAX},
      {"2147483648", std::nullopt, 2147483648},
      {"-2147483648", INT32_MIN, -2147483648LL},
      {"-2147483649", std::nullopt, -2147483649LL},
      {"9223372036854775807", std::nullopt, INT64_MAX},
      {"9223372036854775808", std::nullopt, std::nullopt},
      {"-9223372036854775808", std::nullopt, INT64_MIN},
      {"99999999999999999999", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {" 1", std::nullopt, std::nullopt},
      {"1 ", std::nullopt, std::nullopt},
      {"1e3", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ParseInt32(c.text), c.i32) << c.text;
    EXPECT_EQ(platform::ParseInt64(c.text), c.i64) << c.text;
  }
}

TEST(Text, DigitsAndHexTakeNoSign) {
  EXPECT_EQ(platform::ParseDigits<uint64_t>("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(platform::ParseDigits<uint64_t>("18446744073709551616"), std::nullopt);
  EXPECT_EQ(platform::ParseDigits<int64_t>("9223372036854775808"), std::nullopt);
  EXPECT_EQ(platform::ParseDigits<uint16_t>("65535"), 65535);
  EXPECT_EQ(platform::ParseDigits<uint16_t>("65536"), std::nullopt);
  for (const char* bad : {"", "+1", "-1", " 1"}) EXPECT_EQ(platform::ParseDigits<int64_t>(bad), std::nullopt) << bad;
  EXPECT_EQ(platform::ParseHex<uint32_t>("CBF43926"), 0xCBF43926u);
  EXPECT_EQ(platform::ParseHex<uint32_t>("cbf43926"), 0xCBF43926u);
  EXPECT_EQ(platform::ParseHex<uint32_t>("1CBF43926"), std::nullopt);
  EXPECT_EQ(platform::ParseHex<int32_t>("80000000"), std::nullopt);
  for (const char* bad : {"", "0x1", "g", "-1"}) EXPECT_EQ(platform::ParseHex<uint32_t>(bad), std::nullopt) << bad;
  static_assert(platform::ParseDigits<int>("12") == 12);  // usable at compile time
}

}  // namespace
