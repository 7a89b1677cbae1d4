#include "tools/fetch/fetch_options.h"

namespace ostrel::fetch {

namespace {

bool ReadThreadCount(const std::string& text, int32_t& out) {
  if (text.empty() || text.size() > 2) return false;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 10) return false;
  out = value;
  return true;
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
  ParseResult result;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      result.options.help = true;
      result.ok = true;
      return result;
    } else if (arg == "--log") {
      result.options.printLog = true;
    } else if (arg == "-n" || arg.rfind("-n", 0) == 0) {
      std::string value;
      if (arg == "-n") {
        if (i + 1 >= args.size()) {
          result.error = "option -n needs a value";
          return result;
        }
        value = args[++i];
      } else {
        value = arg.substr(2);
      }
      if (!ReadThreadCount(value, result.options.threads)) {
        result.error = "-n takes a whole number from 1 to 10, not '" + value + "'";
        return result;
      }
    } else {
      result.error = "unknown option '" + arg + "'";
      return result;
    }
  }
  if (operands.size() != 2) {
    result.error = operands.size() < 2 ? "URL and FILE are needed" : "too many operands";
    return result;
  }
  if (operands[0].empty()) {
    result.error = "URL is empty";
    return result;
  }
  // The engine splits FILE at its last "/" or "\\"; what follows must be a file name.
  const std::string& file = operands[1];
  if (file.empty() || file.back() == '/' || file.back() == '\\') {
    result.error = "FILE must name a file, not '" + file + "'";
    return result;
  }
  result.options.url = operands[0];
  result.options.file = operands[1];
  result.ok = true;
  return result;
}

}  // namespace ostrel::fetch
