// One demonstration site, written once for all tests of a suite.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/testkit/files.h"
#include "tests/testkit/temp_dir.h"
#include "tools/demosite/demo_site.h"
#include "tools/demosite/site_paths.h"

namespace fs = std::filesystem;

namespace ostrel::demosite::test {

class DemoSiteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testkit::TempDir>();
    site_ = BuildDemoSite((dir_->path() / "site").string(), kDefaultVersion);
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void SetUp() override { ASSERT_TRUE(site_.ok) << site_.reason; }

  static fs::path Tree(const char* root) { return dir_->path() / "site" / root; }
  static fs::path Package(const char* root) {
    return Tree(root) / (std::string(kPackageFolder) + site_.packageName);
  }

  static inline std::unique_ptr<testkit::TempDir> dir_;
  static inline SiteResult site_;
};

}  // namespace ostrel::demosite::test
