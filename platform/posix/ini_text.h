// Lookup of one value in the text of an INI file, by the private-profile rules.
#pragma once

#include <optional>
#include <string>

namespace platform::posix {

// The value of key in the first section named section, blanks trimmed and one
// pair of matching surrounding quotes removed; nothing when there is none.
std::optional<std::string> FindIniValue(const std::string& text, const std::string& section, const std::string& key);

}  // namespace platform::posix
