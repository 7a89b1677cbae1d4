// Command line of ostrel-fetch: [-n THREADS] [--log] URL FILE
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cli/parse_result.h"

namespace ostrel::fetch {

inline constexpr const char* kUsage =
    "usage: ostrel-fetch [-n THREADS] [--log] URL FILE\n"
    "  -n THREADS  segments fetched at once, 1 to 10 (default 2)\n"
    "  --log       print the download log at the end\n"
    "Running the same command again resumes an interrupted or failed download.\n";

struct FetchOptions {
  int32_t threads = 2;
  bool printLog = false;
  bool help = false;
  std::string url;
  std::string file;
};

using ParseResult = cli::ParseResult<FetchOptions>;

ParseResult ParseArguments(const std::vector<std::string>& args);  // args without the program name

}  // namespace ostrel::fetch
