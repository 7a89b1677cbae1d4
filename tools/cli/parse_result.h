// What reading a tool's command line gives: its options, or what was wrong with the line.
#pragma once

#include <string>

namespace ostrel::cli {

template <typename Options>
struct ParseResult {
  bool ok = false;
  std::string error;  // what was wrong, when not ok
  Options options;
};

}  // namespace ostrel::cli
