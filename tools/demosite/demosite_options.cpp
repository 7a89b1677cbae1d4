#include "tools/demosite/demosite_options.h"

#include "tools/demosite/site_paths.h"

namespace ostrel::demosite {

ParseResult ParseArguments(const std::vector<std::string>& args) {
  ParseResult result;
  result.options.version = kDefaultVersion;
  bool versionGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      result.options.help = true;
      result.ok = true;
      return result;
    }
    if (arg == "--version") {
      if (versionGiven || i + 1 >= args.size()) {
        result.error = versionGiven ? "--version given twice" : "--version needs a text";
        return result;
      }
      result.options.version = args[++i];
      versionGiven = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      result.error = "unknown option " + arg;
      return result;
    } else if (!result.options.outDir.empty()) {
      result.error = "more than one OUTDIR";
      return result;
    } else {
      result.options.outDir = arg;
    }
  }
  if (result.options.outDir.empty()) {
    result.error = "OUTDIR is missing";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace ostrel::demosite
