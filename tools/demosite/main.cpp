// ostrel-demosite OUTDIR [--version TEXT]
//
// Writes the demonstration site for the installer's servers below OUTDIR and prints what
// the manifest says. Exit codes: 0 written, 1 failed, 2 bad arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demosite/demo_site.h"
#include "tools/demosite/demosite_options.h"
#include "tools/demosite/site_paths.h"

namespace ostrel::demosite {
namespace {

int Main(int argc, char** argv) {
  const ParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.ok) {
    std::fprintf(stderr, "ostrel-demosite: %s\n%s", parsed.error.c_str(), kUsage);
    return 2;
  }
  if (parsed.options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const SiteResult site = BuildDemoSite(parsed.options.outDir, parsed.options.version);
  if (!site.ok) {
    std::fprintf(stderr, "ostrel-demosite: %s\n", site.reason.c_str());
    return 1;
  }
  std::printf("site:     %s/{%s,%s}/\n", parsed.options.outDir.c_str(), kDownloadRoot, kWebRoot);
  std::printf("LargeVer: %s\n", parsed.options.version.c_str());
  std::printf("url:      %s\n", site.packageName.c_str());
  std::printf("crc:      %s\n", site.crc.c_str());
  return 0;
}

}  // namespace
}  // namespace ostrel::demosite

int main(int argc, char** argv) { return ostrel::demosite::Main(argc, argv); }
