#include "platform/text_codec.h"

#include <cstdint>

#include "platform/code_page.h"

namespace platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

using code_page::Convert;
using code_page::Direction;

}  // namespace

bool IsValidUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      cp = c & 0x07;
    } else {
      return false;  // continuation byte, overlong lead (C0/C1) or beyond F4
    }
    if (end - p <= more) return false;
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return false;
    if (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) return false;
    p += more + 1;
  }
  return true;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  std::string out;
  if (!Convert(Direction::kFromGbk, gbk, out, {})) return std::nullopt;
  return out;
}

std::string GbkToUtf8Lenient(std::string_view gbk) {
  std::string out;
  if (!Convert(Direction::kFromGbk, gbk, out, kReplacement)) {
    // No converter at all: keep the ASCII, mark the rest.
    out.clear();
    for (unsigned char c : gbk) {
      if (c < 0x80)
        out += static_cast<char>(c);
      else
        out.append(kReplacement);
    }
  }
  return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  std::string out;
  if (!Convert(Direction::kToGbk, utf8, out, {})) return std::nullopt;
  return out;
}

std::string HostTextFromTargetBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return GbkToUtf8Lenient(bytes);
}

std::string CutUtf8(std::string text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t n = maxBytes;
  while (n > 0 && maxBytes - n < 3 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  text.resize(n);
  return text;
}

}  // namespace platform
