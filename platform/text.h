// ASCII character classes, trimming and number parsing that never depend on the
// process locale (a window toolkit sets it at start-up, the tests don't) and
// treat every byte above 127 (also the bytes of Chinese text) as a letter of no class.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <type_traits>

#include "platform/ascii_case.h"

namespace platform {

constexpr bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
// Blanks and control characters: every byte up to and including the space.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }
constexpr bool IsOctDigit(char c) { return c >= '0' && c <= '7'; }

// The value of a hexadecimal digit (either case), -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
constexpr bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// The text without the characters at either end for which drop is true.
template <typename Pred>
constexpr std::string_view TrimIf(std::string_view text, Pred drop) {
  while (!text.empty() && drop(text.front())) text.remove_prefix(1);
  while (!text.empty() && drop(text.back())) text.remove_suffix(1);
  return text;
}
// Without white space (IsSpace) at either end.
constexpr std::string_view Trim(std::string_view text) { return TrimIf(text, IsSpace); }
// Without blanks and control characters at either end.
constexpr std::string_view TrimBlanksAndControls(std::string_view text) { return TrimIf(text, IsBlankOrControl); }

namespace text_detail {

// Digits in base (10 or 16) only, at least one; nothing when the value exceeds limit.
template <typename U>
constexpr std::optional<U> ParseUnsigned(std::string_view text, unsigned base, U limit) {
  if (text.empty()) return std::nullopt;
  U value = 0;
  for (char c : text) {
    const int digit = base == 16 ? HexDigitValue(c) : IsDigit(c) ? c - '0' : -1;
    if (digit < 0) return std::nullopt;
    if (value > (limit - static_cast<U>(digit)) / base) return std::nullopt;
    value = value * base + static_cast<U>(digit);
  }
  return value;
}

}  // namespace text_detail

// Decimal digits only: no sign, no blanks, at least one digit. Nothing when the
// value doesn't fit T (any integer type; negative values never come out).
template <typename T>
constexpr std::optional<T> ParseDigits(std::string_view text) {
  static_assert(std::is_integral_v<T>);
  using U = std::make_unsigned_t<T>;
  const auto v = text_detail::ParseUnsigned<U>(text, 10, static_cast<U>(std::numeric_limits<T>::max()));
  return v ? std::optional<T>(static_cast<T>(*v)) : std::nullopt;
}

// Hexadecimal digits only (either case, no "0x", no sign); nothing when the value doesn't fit T.
template <typename T>
constexpr std::optional<T> ParseHex(std::string_view text) {
  static_assert(std::is_integral_v<T>);
  using U = std::make_unsigned_t<T>;
  const auto v = text_detail::ParseUnsigned<U>(text, 16, static_cast<U>(std::numeric_limits<T>::max()));
  return v ? std::optional<T>(static_cast<T>(*v)) : std::nullopt;
}

// An optional "+" or "-" followed by decimal digits, nothing else (no blanks);
// nothing when the value doesn't fit T. The most negative value is accepted.
template <typename T>
constexpr std::optional<T> ParseDecimal(std::string_view text) {
  static_assert(std::is_integral_v<T> && std::is_signed_v<T>);
  using U = std::make_unsigned_t<T>;
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const U limit = static_cast<U>(std::numeric_limits<T>::max()) + (negative ? 1u : 0u);
  const auto v = text_detail::ParseUnsigned<U>(text, 10, limit);
  if (!v) return std::nullopt;
  return negative ? static_cast<T>(U{0} - *v) : static_cast<T>(*v);
}

constexpr std::optional<int32_t> ParseInt32(std::string_view text) { return ParseDecimal<int32_t>(text); }
constexpr std::optional<int64_t> ParseInt64(std::string_view text) { return ParseDecimal<int64_t>(text); }

}  // namespace platform
