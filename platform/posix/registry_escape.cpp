#include "platform/posix/registry_escape.h"

#include <cstdio>

#include "platform/posix/utf16.h"
#include "platform/text.h"

namespace platform::posix {
namespace {

bool IsHexDigit(char16_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsOctDigit(char16_t c) { return c >= '0' && c <= '7'; }

std::string Escape(const std::string& text, char delim1, char delim2) {
  static const char kCEscapes[33] = ".......abtnvfr.............e....";
  const std::u16string units = Utf8ToUtf16(text);
  std::string out;
  out.reserve(units.size() + 8);
  char buf[16];
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    const bool hasNext = i + 1 < units.size();
    if (u > 127) {
      // A following hex digit would be read as part of the number: use all four digits then.
      std::snprintf(buf, sizeof buf, (hasNext && IsHexDigit(units[i + 1])) ? "\\x%04x" : "\\x%x", unsigned{u});
      out += buf;
    } else if (u < 32) {
      if (kCEscapes[u] != '.') {
        out += '\\';
        out += kCEscapes[u];
      } else {
        std::snprintf(buf, sizeof buf, (hasNext && IsOctDigit(units[i + 1])) ? "\\%03o" : "\\%o", unsigned{u});
        out += buf;
      }
    } else {
      const char c = static_cast<char>(u);
      if (c == '\\' || c == delim1 || c == delim2) out += '\\';
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string EscapeKeyName(const std::string& text) { return Escape(text, '[', ']'); }
std::string EscapeQuoted(const std::string& text) { return Escape(text, '"', '"'); }

bool UnescapeUntil(const std::string& in, size_t& pos, char closing, std::string& out) {
  std::u16string units;
  size_t i = pos;
  while (i < in.size() && in[i] != closing) {
    const char c = in[i++];
    if (c != '\\') {
      // Plain bytes: gather a run and convert it as UTF-8 (files written by people may hold UTF-8).
      size_t start = i - 1;
      while (i < in.size() && in[i] != closing && in[i] != '\\') ++i;
      units += Utf8ToUtf16(in.substr(start, i - start));
      continue;
    }
    if (i >= in.size()) return false;
    const char e = in[i++];
    switch (e) {
      case 'a': units += u'\a'; break;
      case 'b': units += u'\b'; break;
      case 'e': units += char16_t{0x1B}; break;
      case 'f': units += u'\f'; break;
      case 'n': units += u'\n'; break;
      case 'r': units += u'\r'; break;
      case 't': units += u'\t'; break;
      case 'v': units += u'\v'; break;
      case 'x': {
        unsigned v = 0;
        int digits = 0;
        while (digits < 4 && i < in.size() && IsHexDigit(in[i])) v = v * 16 + HexDigitValue(in[i++]), ++digits;
        if (digits == 0) {
          units += u'x';
        } else {
          units += static_cast<char16_t>(v);
        }
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned v = e - '0';
          for (int digits = 1; digits < 3 && i < in.size() && platform::IsOctDigit(in[i]); ++digits) v = v * 8 + (in[i++] - '0');
          units += static_cast<char16_t>(v);
        } else if (static_cast<unsigned char>(e) >= 0x80) {
          --i;  // a backslash before a non-ASCII character only drops the backslash
        } else {
          units += static_cast<char16_t>(e);
        }
    }
  }
  if (i >= in.size()) return false;
  out = Utf16ToUtf8(units);
  pos = i;
  return true;
}

}  // namespace platform::posix
