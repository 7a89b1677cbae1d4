// The file operations on path texts never follow a link below a drive's root:
// links planted at the last or a middle name lead nothing outside.
#include <algorithm>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace fs = std::filesystem;

namespace {

class NoLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::ForceDirectories("C:\\Staging"));
    fs::create_directories(outside() + "/Downloads");
    for (const char* name : {"file", "a.zip"}) testkit::WriteFile(outside() + "/Downloads/" + name, "keep");
    before_ = Tree(outside());
  }
  std::string C(const std::string& rest) const { return prefix_.path() + "/drive_c/" + rest; }
  std::string outside() const { return prefix_.scratch() + "/outside"; }
  // Every entry below dir with its size, to see that nothing changed there.
  static std::vector<std::string> Tree(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
      out.push_back(e.path().string() + (e.is_regular_file() ? ":" + std::to_string(e.file_size()) : "/"));
    std::sort(out.begin(), out.end());
    return out;
  }
  testkit::TempPrefix prefix_;
  std::vector<std::string> before_;
};

TEST_F(NoLink, APlantedLinkIsNeitherFollowedNorWrittenThrough) {
  struct Case {
    const char* what;
    const char* link;    // below drive_c
    const char* target;  // below the outside folder
    const char* dir;     // the folder the installer works in
  } const cases[] = {
      {"last name", "Staging/Downloads", "Downloads", "C:\\Staging\\Downloads"},
      {"middle name", "Program Files", ".", "C:\\Program Files\\Downloads"},
      {"dangling middle name", "Dangling", "missing", "C:\\Dangling\\Downloads"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::create_directory_symlink(outside() + "/" + c.target, C(c.link));
    const std::string dir = c.dir;
    EXPECT_FALSE(platform::DirectoryExists(dir));
    EXPECT_FALSE(platform::FileExists(dir + "\\file"));
    EXPECT_FALSE(platform::IsLinkFreeFolder(dir));
    EXPECT_FALSE(platform::IsLinkFreeFolder(dir + "\\not\\made\\yet"));
    EXPECT_FALSE(platform::ForceDirectories(dir + "\\App"));
    EXPECT_FALSE(platform::OpenFolderNoLinks(dir, true).IsOpen());
    EXPECT_FALSE(platform::RemoveFile(dir + "\\file"));
    EXPECT_EQ(platform::DeleteZipFiles(dir), 0);
    EXPECT_EQ(Tree(outside()), before_);
  }
}

TEST_F(NoLink, ALinkAtAFilesNameIsNoFileAndIsRemovedAsALink) {
  testkit::WriteFile(C("Staging/real"), "x");
  fs::create_symlink(outside() + "/Downloads/file", C("Staging/pkg.zip"));
  fs::create_directory_symlink(outside() + "/Downloads", C("Staging/dirlink"));
  EXPECT_FALSE(platform::FileExists("C:\\Staging\\pkg.zip"));
  EXPECT_FALSE(platform::DirectoryExists("C:\\Staging\\dirlink"));
  EXPECT_FALSE(platform::FileExists("C:\\Staging\\dirlink\\file"));
  EXPECT_TRUE(platform::FileExists("C:\\Staging\\real"));
  EXPECT_TRUE(platform::RemoveFile("C:\\Staging\\pkg.zip"));
  EXPECT_FALSE(fs::is_symlink(C("Staging/pkg.zip")));
  EXPECT_EQ(Tree(outside()), before_);
}

TEST_F(NoLink, APlainChainWorksAndTheDriveLinkIsFollowed) {
  fs::create_directory(prefix_.scratch() + "/disk_d");
  fs::create_directory_symlink(prefix_.scratch() + "/disk_d", prefix_.path() + "/dosdevices/d:");
  const std::string dir = "D:\\Ostrel\\OstrelPlatform\\App";
  EXPECT_TRUE(platform::IsLinkFreeFolder(dir));  // nothing there yet
  EXPECT_TRUE(platform::DirectoryExists("D:\\"));
  ASSERT_TRUE(platform::ForceDirectories(dir));
  EXPECT_TRUE(platform::DirectoryExists(dir));
  EXPECT_TRUE(platform::IsLinkFreeFolder(dir));
  const std::string host = prefix_.scratch() + "/disk_d/Ostrel/OstrelPlatform/App";
  EXPECT_TRUE(fs::is_directory(host));
  for (const char* name : {"a.zip", "b.ZIP", "keep.txt"}) testkit::WriteFile(host + "/" + name, "x");
  EXPECT_TRUE(platform::FileExists(dir + "\\keep.txt"));
  EXPECT_EQ(platform::DeleteZipFiles(dir), 2);
  EXPECT_TRUE(platform::RemoveFile(dir + "\\keep.txt"));
  EXPECT_TRUE(fs::is_empty(host));
  EXPECT_FALSE(platform::IsLinkFreeFolder("Q:\\Ostrel"));  // no such drive
}

TEST_F(NoLink, DotDotNeverClimbsAboveTheDriveRoot) {
  ASSERT_TRUE(platform::ForceDirectories("C:\\..\\..\\..\\escape"));
  EXPECT_TRUE(fs::is_directory(C("escape")));
  EXPECT_FALSE(fs::exists(prefix_.scratch() + "/escape"));
  EXPECT_FALSE(platform::ForceDirectories("../escape"));  // a relative host path can't start above itself
}

TEST_F(NoLink, HostPathsAreWalkedFromTheHostRoot) {
  fs::create_directory_symlink(outside(), prefix_.scratch() + "/hostlink");
  EXPECT_FALSE(platform::FileExists(prefix_.scratch() + "/hostlink/Downloads/file"));
  EXPECT_FALSE(platform::ForceDirectories(prefix_.scratch() + "/hostlink/new"));
  EXPECT_TRUE(platform::FileExists(outside() + "/Downloads/file"));
  EXPECT_TRUE(platform::ForceDirectories(prefix_.scratch() + "/plain/new"));
  EXPECT_EQ(Tree(outside()), before_);
}

}  // namespace
