#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/demosite/demosite_options.h"
#include "tools/demosite/manifest_text.h"
#include "tools/demosite/site_paths.h"

namespace ostrel::demosite::test {
namespace {

TEST(DemoSiteCommandLine, ParsesTheFolderAndTheVersion) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
    std::string outDir, version;
  };
  const Case cases[] = {
      {{"out"}, true, "out", kDefaultVersion},
      {{"out", "--version", "V3.0 测试"}, true, "out", "V3.0 测试"},
      {{"--version", "V3.0", "out"}, true, "out", "V3.0"},
      {{}, false, "", ""},
      {{"--version"}, false, "", ""},
      {{"out", "--version", "a", "--version", "b"}, false, "", ""},
      {{"out", "other"}, false, "", ""},
      {{"out", "--port", "80"}, false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const ParseResult parsed = ParseArguments(c.args);
    EXPECT_EQ(parsed.ok, c.ok) << parsed.error;
    EXPECT_EQ(parsed.error.empty(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(parsed.options.outDir, c.outDir);
    EXPECT_EQ(parsed.options.version, c.version);
  }
  EXPECT_TRUE(ParseArguments({"--help"}).options.help);
}

TEST(DemoSiteCommandLine, NamesThePackageAfterTheVersionsFirstDottedNumber) {
  const std::pair<const char*, const char*> cases[] = {
      {"V2.3.118 演示版", "OstrelPlatform_2.3.118.zip"},
      {"3.0. beta 2", "OstrelPlatform_3.0.zip"},
      {"版本7", "OstrelPlatform_7.zip"},
      {"演示版", "OstrelPlatform.zip"},
  };
  for (const auto& [version, name] : cases) EXPECT_EQ(PackageNameForVersion(version), name) << version;
}

}  // namespace
}  // namespace ostrel::demosite::test
