// The system's conversion between code page 936 (GBK) and UTF-8, behind
// text_codec.h: iconv on Linux, the code-page calls on Windows.
#pragma once

#include <string>
#include <string_view>

namespace platform::code_page {

enum class Direction { kFromGbk, kToGbk };

// Converts in into out. A byte sequence that is invalid or cut off either ends
// the conversion (replacement empty: false) or is replaced, one byte at a time,
// by replacement. False also when the system has no converter for the code page.
bool Convert(Direction direction, std::string_view in, std::string& out, std::string_view replacement);

}  // namespace platform::code_page
