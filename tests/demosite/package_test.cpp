#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zip.h>

#include <cstdio>
#include <regex>
#include <string>

#include "demo_site_fixture.h"
#include "platform/text_codec.h"
#include "support/PubZip.h"
#include "tools/demosite/platform_package.h"
#include "tools/demosite/platform_scripts.h"

namespace ostrel::demosite::test {
namespace {

class DemoPackageTest : public DemoSiteTest {
 protected:
  // The package extracted with the installer's extractor into a fresh folder.
  fs::path Extracted() {
    const fs::path installDir = scratch_.path() / "OstrelPlatform";
    EXPECT_TRUE(UnZipFile(Package(kDownloadRoot).string(), installDir.string()));
    return installDir;
  }

  testkit::TempDir scratch_;
};

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

TEST_F(DemoPackageTest, ExtractsTheFilesTheInstallerReliesOnWithTheirContents) {
  const fs::path installDir = Extracted();
  const std::pair<const char*, std::string> required[] = {
      {"OstrelLauncher.exe", LauncherScript()},
      {"Uninstall/uninst.exe", UninstallerScript()},
      {"OstrelMain.exe", MainProgramScript()},
  };
  for (const auto& [path, script] : required) {
    SCOPED_TRACE(path);
    EXPECT_EQ(testkit::ReadFile(installDir / path), script);
    EXPECT_NE(fs::status(installDir / path).permissions() & fs::perms::owner_exec, fs::perms::none);
  }
  // Every entry, Chinese names included, lands under its own name.
  for (const PackageEntry& entry : PlatformPackageEntries(kDefaultVersion)) {
    SCOPED_TRACE(entry.name);
    if (entry.name.back() == '/') {
      EXPECT_TRUE(fs::is_directory(installDir / entry.name));
    } else {
      EXPECT_EQ(testkit::ReadFile(installDir / entry.name), entry.data);
    }
  }
}

TEST_F(DemoPackageTest, StoresChineseNamesInCodePage936UnflaggedAndInUtf8Flagged) {
  int error = 0;
  zip_t* zip = zip_open(Package(kDownloadRoot).c_str(), ZIP_RDONLY, &error);
  ASSERT_NE(zip, nullptr);
  int seen[2] = {0, 0};
  zip_int64_t index = 0;
  for (const PackageEntry& entry : PlatformPackageEntries(kDefaultVersion)) {
    const auto at = static_cast<zip_uint64_t>(index++);
    if (IsAscii(entry.name)) continue;
    SCOPED_TRACE(entry.name);
    const std::string raw = zip_get_name(zip, at, ZIP_FL_ENC_RAW);
    // Read as the ZIP format says (CP437 unless flagged), a name changes only without the flag.
    const std::string strict = zip_get_name(zip, at, ZIP_FL_ENC_STRICT);
    const bool flagged = entry.form == NameForm::kUtf8;
    EXPECT_EQ(raw, flagged ? entry.name : platform::Utf8ToGbk(entry.name).value());
    EXPECT_EQ(strict == raw, flagged);
    ++seen[flagged];
  }
  zip_close(zip);
  EXPECT_GE(seen[0], 2);
  EXPECT_GE(seen[1], 2);
}

TEST_F(DemoPackageTest, LauncherRunsDirectlyAndLeavesItsMarkerBesideItself) {
  const fs::path installDir = Extracted();
  // Started from another working folder, as the shell's "open" does with a host program.
  const std::string command = "cd / && '" + (installDir / "OstrelLauncher.exe").string() + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  EXPECT_EQ(output.rfind(std::string(kLauncherGreeting) + "\n", 0), 0u) << output;
  const std::string marker = testkit::ReadFile(installDir / kLaunchMarker);
  EXPECT_TRUE(std::regex_match(marker, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n)"))) << marker;
}

}  // namespace
}  // namespace ostrel::demosite::test
