#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_site_fixture.h"
#include "platform/text_codec.h"
#include "support/PubCrc.h"
#include "support/pubShare.h"

namespace {

constexpr const char* kRoots[] = {demosite::kDownloadRoot, demosite::kWebRoot};

TEST_F(DemoSiteTest, ManifestReadsBackThroughTheInstallersIniReadingOnBothServers) {
  for (const char* root : kRoots) {
    SCOPED_TRACE(root);
    const std::string manifest = (Tree(root) / demosite::kManifestPath).string();
    EXPECT_EQ(ReadIniString("Setup", "LargeVer", manifest), demosite::kDefaultVersion);
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
    const std::string crc = ReadIniString("Setup", "crc", (Tree(root) / demosite::kManifestPath).string());
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
      {demosite::kManifestPath, 40, 200},
      {std::string(demosite::kPackageFolder) + site_.packageName, 3u << 20, 8u << 20},
      {demosite::kBaseServicePath, demosite::kBaseServiceSize, demosite::kBaseServiceSize},
  };
  for (const char* driver : demosite::kDriverNames)
    served.push_back({std::string(demosite::kDriverFolder) + driver, demosite::kDriverSize, demosite::kDriverSize});
  for (const Served& file : served) {
    SCOPED_TRACE(file.path);
    const fs::path download = Tree(demosite::kDownloadRoot) / file.path;
    ASSERT_TRUE(fs::is_regular_file(download));
    EXPECT_GE(fs::file_size(download), file.minSize);
    EXPECT_LE(fs::file_size(download), file.maxSize);
    EXPECT_EQ(testkit::ReadFile(download), testkit::ReadFile(Tree(demosite::kWebRoot) / file.path));
  }
}

TEST_F(DemoSiteTest, TheSameVersionGivesTheSameChecksumAndAnotherVersionAnother) {
  const demosite::SiteResult again =
      demosite::BuildDemoSite((dir_->path() / "again").string(), demosite::kDefaultVersion);
  ASSERT_TRUE(again.ok) << again.reason;
  EXPECT_EQ(again.crc, site_.crc);
  EXPECT_EQ(testkit::ReadFile(dir_->path() / "again" / demosite::kDownloadRoot / demosite::kBaseServicePath),
            testkit::ReadFile(Tree(demosite::kDownloadRoot) / demosite::kBaseServicePath));

  const demosite::SiteResult other = demosite::BuildDemoSite((dir_->path() / "other").string(), "V2.4.0 正式版");
  ASSERT_TRUE(other.ok) << other.reason;
  EXPECT_EQ(other.packageName, "OstrelPlatform_2.4.0.zip");
  EXPECT_NE(other.crc, site_.crc);
}

TEST(DemoSite, RefusesVersionTextsTheManifestCannotHold) {
  testkit::TempDir dir;
  for (const char* version : {"", "V1\nV2", "V1\r", "V1 \xF0\x9F\x98\x80", "V1 \xFF"}) {
    SCOPED_TRACE(version);
    const demosite::SiteResult site = demosite::BuildDemoSite((dir / "site").string(), version);
    EXPECT_FALSE(site.ok);
    EXPECT_FALSE(site.reason.empty());
  }
  EXPECT_FALSE(fs::exists(dir / "site"));
}

}  // namespace
