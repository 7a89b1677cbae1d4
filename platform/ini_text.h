// Lookup of one value in the text of an INI file, by the private-profile rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of key in the first section named section, blanks trimmed and one pair of matching
// surrounding quotes removed; nothing when there is none. Names compare without regard to ASCII
// case and without the blanks around them; a line without "=" names no key; lines end at "\n"
// or "\r"; a UTF-8 byte order mark is not part of the first line.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace platform
