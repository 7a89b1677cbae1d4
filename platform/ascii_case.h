// Letter case of ASCII text, as Windows compares registry keys, INI sections,
// drive roots and HTTP header names: only A-Z and a-z differ by case, every other
// byte (also the bytes of Chinese text) compares as it is.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpperCopy(std::string s) {
  for (char& c : s) c = AsciiUpper(c);
  return s;
}

inline std::string AsciiLowerCopy(std::string s) {
  for (char& c : s) c = AsciiLower(c);
  return s;
}

constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace platform
