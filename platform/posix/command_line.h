// Splitting a Windows parameters text into arguments, by the rules of the C
// runtime: blanks separate, double quotes group, backslashes escape only
// before a double quote.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace platform::posix
