#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_site_fixture.h"
#include "platform/text_codec.h"
#include "support/PubCrc.h"
#include "support/pubShare.h"

namespace ostrel::demosite::test {
namespace {

constexpr const char* kRoots[] = {kDownloadRoot, kWebRoot};

TEST_F(DemoSiteTest, ManifestReadsBackThroughTheInstallersIniReadingOnBothServers) {
  for (const char* root : kRoots) {
    SCOPED_TRACE(root);
    const std::string manifest = (Tree(root) / kManifestPath).string();
    EXPECT_EQ(ReadIniString("Setup", "LargeVer", manifest), kDefaultVersion);
    EXPECT_EQ(ReadIniString("Setup", "url", manifest), "OstrelPlatform_2.3.118.zip");
    EXPECT_EQ(ReadIniString("Setup", "crc", manifest), site_.crc);
    // The text is in code page 936, not UTF-8.
    const std::string bytes = testkit::ReadFile(manifest);
    EXPECT_NE(bytes.find(platform::Utf8ToGbk("演示版").value()), std::string::npos);
    EXPECT_FALSE(platform::IsValidUtf8(bytes));
  }
}

TEST_F(DemoSiteTest, ManifestCrcIsThePackagesChecksumAsTheInstallerComputesIt) {
  for (const char* root : kRoots) {
    SCOPED_TRACE(root);
    const std::string crc = ReadIniString("Setup", "crc", (Tree(root) / kManifestPath).string());
    EXPECT_FALSE(crc.empty());
    EXPECT_EQ(GetFileCRC(Package(root).string()), crc);
  }
}

TEST_F(DemoSiteTest, BothServersHoldTheSameFilesAtTheInstallersPaths) {
  struct Served {
    std::string path;
    uintmax_t minSize, maxSize;
  };
  std::vector<Served> served = {
      {kManifestPath, 40, 200},
      {std::string(kPackageFolder) + site_.packageName, 3u << 20, 8u << 20},
      {kBaseServicePath, kBaseServiceSize, kBaseServiceSize},
  };
  for (const char* driver : kDriverNames)
    served.push_back({std::string(kDriverFolder) + driver, kDriverSize, kDriverSize});
  for (const Served& file : served) {
    SCOPED_TRACE(file.path);
    const fs::path download = Tree(kDownloadRoot) / file.path;
    ASSERT_TRUE(fs::is_regular_file(download));
    EXPECT_GE(fs::file_size(download), file.minSize);
    EXPECT_LE(fs::file_size(download), file.maxSize);
    EXPECT_EQ(testkit::ReadFile(download), testkit::ReadFile(Tree(kWebRoot) / file.path));
  }
}

TEST_F(DemoSiteTest, TheSameVersionGivesTheSameChecksumAndAnotherVersionAnother) {
  const SiteResult again =
      BuildDemoSite((dir_->path() / "again").string(), kDefaultVersion);
  ASSERT_TRUE(again.ok) << again.reason;
  EXPECT_EQ(again.crc, site_.crc);
  EXPECT_EQ(testkit::ReadFile(dir_->path() / "again" / kDownloadRoot / kBaseServicePath),
            testkit::ReadFile(Tree(kDownloadRoot) / kBaseServicePath));

  const SiteResult other = BuildDemoSite((dir_->path() / "other").string(), "V2.4.0 正式版");
  ASSERT_TRUE(other.ok) << other.reason;
  EXPECT_EQ(other.packageName, "OstrelPlatform_2.4.0.zip");
  EXPECT_NE(other.crc, site_.crc);
}

TEST(DemoSite, RefusesVersionTextsTheManifestCannotHold) {
  testkit::TempDir dir;
  for (const char* version : {"", "V1\nV2", "V1\r", "V1 \xF0\x9F\x98\x80", "V1 \xFF"}) {
    SCOPED_TRACE(version);
    const SiteResult site = BuildDemoSite((dir / "site").string(), version);
    EXPECT_FALSE(site.ok);
    EXPECT_FALSE(site.reason.empty());
  }
  EXPECT_FALSE(fs::exists(dir / "site"));
}

}  // namespace
}  // namespace ostrel::demosite::test
