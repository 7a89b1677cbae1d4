#include "platform/posix/ini_text.h"

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace platform::posix {
namespace {

std::string Trim(const std::string& s) { return std::string(platform::Trim(s)); }

using platform::EqualsNoCase;

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

std::optional<std::string> FindIniValue(const std::string& text, const std::string& section, const std::string& key) {
  const std::string wantSection = Trim(section), wantKey = Trim(key);
  size_t start = 0;
  // A UTF-8 byte order mark is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  bool inSection = false, sectionSeen = false;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line[0] == '[') {
      const size_t close = line.find(']');
      if (close != std::string::npos) {
        if (inSection) return std::nullopt;  // only the first section of that name counts
        inSection = !sectionSeen && EqualsNoCase(Trim(line.substr(1, close - 1)), wantSection);
        sectionSeen = sectionSeen || inSection;
        continue;
      }
    }
    if (!inSection) continue;
    const size_t eq = line.find('=');
    const std::string name = Trim(line.substr(0, eq));
    if (!EqualsNoCase(name, wantKey)) continue;
    if (eq == std::string::npos) return std::string();
    return Unquote(Trim(line.substr(eq + 1)));
  }
  return std::nullopt;
}

}  // namespace platform::posix
