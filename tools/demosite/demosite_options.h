// Command line of ostrel-demosite: OUTDIR [--version TEXT]
#pragma once

#include <string>
#include <vector>

#include "tools/cli/parse_result.h"

namespace ostrel::demosite {

inline constexpr const char* kUsage =
    "usage: ostrel-demosite OUTDIR [--version TEXT]\n"
    "  Writes OUTDIR/download/ (the download server's root) and OUTDIR/web/ (the web\n"
    "  server's root, also served on its second port) for tools/demo-servers.sh.\n"
    "  --version TEXT  the manifest's version text (default \"V2.3.118 演示版\");\n"
    "                  its first dotted number names the package file\n";

struct SiteOptions {
  std::string outDir;
  std::string version;
  bool help = false;
};

using ParseResult = cli::ParseResult<SiteOptions>;

ParseResult ParseArguments(const std::vector<std::string>& args);  // args without the program name

}  // namespace ostrel::demosite
