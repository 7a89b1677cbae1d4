// UTF-8 inside the program, UTF-16 at the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// UTF-8 as UTF-16; invalid sequences become U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8(std::wstring_view wide);

// A path text as the wide path for the file calls: made absolute (against the working folder)
// and given the "\\?\" form, so that no name is trimmed or reinterpreted on the way and long
// paths work. Empty for an empty text.
std::wstring WidePath(std::string_view path);

// A wide path with one more name below it.
std::wstring Below(const std::wstring& folder, std::string_view name);

}  // namespace platform::win32
