#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace platform {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor for one call, closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts in; an invalid or cut-off sequence either ends the conversion
  // (replacement empty: false) or is replaced one byte at a time.
  bool Convert(std::string_view in, std::string& out, std::string_view replacement) {
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (replacement.empty()) return false;  // EILSEQ or EINVAL
      out.append(replacement);
      ++src;
      --srcLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

// The code page goes by "CP936" in glibc and by "GBK" in most other iconvs.
enum class Direction { kFromGbk, kToGbk };

bool Convert(Direction direction, std::string_view in, std::string& out, std::string_view replacement) {
  for (const char* gbk : {"CP936", "GBK"}) {
    Converter converter = direction == Direction::kFromGbk ? Converter("UTF-8", gbk) : Converter(gbk, "UTF-8");
    if (converter.ok()) return converter.Convert(in, out, replacement);
  }
  return false;
}

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

}  // namespace platform
