#include "platform/ini_text.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace platform {
namespace {

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section, std::string_view key) {
  const std::string_view wantSection = Trim(section), wantKey = Trim(key);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool inSection = false, sectionSeen = false;
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line[0] == '[') {
      const size_t close = line.find(']');
      if (close != std::string_view::npos) {
        if (inSection) return std::nullopt;  // only the first section of that name counts
        inSection = !sectionSeen && EqualsNoCase(Trim(line.substr(1, close - 1)), wantSection);
        sectionSeen = sectionSeen || inSection;
        continue;
      }
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string_view::npos || !EqualsNoCase(Trim(line.substr(0, eq)), wantKey)) continue;
    return std::string(Unquote(Trim(line.substr(eq + 1))));
  }
  return std::nullopt;
}

}  // namespace platform
