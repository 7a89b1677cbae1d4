// Code page 936 through the system's own tables, named explicitly: never the system's code page.
#include <windows.h>

#include <climits>

#include "platform/code_page.h"
#include "platform/win32/wide_text.h"

namespace platform::code_page {
namespace {

constexpr UINT kGbk = 936;

// Strict conversions of a whole text; false when a byte sequence or character doesn't convert.
bool FromGbk(std::string_view in, std::wstring& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return false;
  out.resize(static_cast<size_t>(n));
  return MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n) == n;
}

bool ToGbk(std::wstring_view in, std::string& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, in.data(), size, nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  out.resize(static_cast<size_t>(n));
  return WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, in.data(), size, out.data(), n, nullptr, &lossy) == n &&
         !lossy;
}

// The length of the UTF-8 sequence at text's start (1 for a stray byte).
size_t Utf8Length(std::string_view text) {
  const unsigned char c = static_cast<unsigned char>(text[0]);
  const size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return n <= text.size() ? n : 1;
}

// One character at a time: the longest piece (one or two bytes of code page 936, one UTF-8
// sequence) that converts is taken; a byte that starts none becomes the replacement.
bool ConvertPieces(Direction direction, std::string_view in, std::string& out, std::string_view replacement) {
  out.clear();
  std::wstring wide;
  std::string bytes;
  for (size_t i = 0; i < in.size();) {
    bool done = false;
    if (direction == Direction::kFromGbk) {
      for (size_t len : {size_t{1}, size_t{2}}) {
        if (i + len <= in.size() && FromGbk(in.substr(i, len), wide)) {
          out += win32::Utf8(wide);
          i += len;
          done = true;
          break;
        }
      }
    } else {
      const size_t len = Utf8Length(in.substr(i));
      const std::string_view piece = in.substr(i, len);
      wide = win32::Wide(piece);
      if (win32::Utf8(wide) == piece && ToGbk(wide, bytes)) {
        out += bytes;
        i += len;
        done = true;
      }
    }
    if (!done) {
      if (replacement.empty()) return false;
      out.append(replacement);
      ++i;
    }
  }
  return true;
}

}  // namespace

bool Convert(Direction direction, std::string_view in, std::string& out, std::string_view replacement) {
  if (in.size() > INT_MAX / 2) return false;
  if (direction == Direction::kFromGbk) {
    std::wstring wide;
    if (FromGbk(in, wide)) {
      out = win32::Utf8(wide);
      return true;
    }
  } else {
    const std::wstring wide = win32::Wide(in);
    if (win32::Utf8(wide) == in && ToGbk(wide, out)) return true;
  }
  return ConvertPieces(direction, in, out, replacement);
}

}  // namespace platform::code_page
