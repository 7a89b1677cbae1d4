#include "platform/posix/command_line.h"

namespace platform::posix {

std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> args;
  std::string current;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      if (inArg) args.push_back(current), current.clear(), inArg = false;
      ++i;
      continue;
    }
    inArg = true;
    if (c == '\\') {
      size_t n = 0;
      while (i < text.size() && text[i] == '\\') ++n, ++i;
      if (i < text.size() && text[i] == '"') {
        current.append(n / 2, '\\');
        if (n % 2 == 1) current += '"', ++i;  // \" is a literal quote; "\\"" leaves the quote to the next round
      } else {
        current.append(n, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
        current += '"';  // "" inside quotes is one literal quote
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    current += c;
    ++i;
  }
  if (inArg) args.push_back(current);
  return args;
}

}  // namespace platform::posix
