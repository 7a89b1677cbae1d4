// What only Windows has in the file layer: names refused by the folders, junctions, and path
// texts from a drive's root.
#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/junction.h"
#include "tests/testkit/temp_dir.h"

namespace {

using platform::Folder;

bool Write(const std::string& path, const std::string& bytes) {
  return testkit::WriteFile(testkit::Utf8Path(path), bytes);
}

// Names that would reach past the folder or into a stream.
TEST(WindowsFolder, RefusesNamesThatReachOutOfTheFolder) {
  testkit::TempDir dir;
  const Folder folder = Folder::Open(dir.PathText());
  ASSERT_TRUE(folder.IsOpen());
  for (const char* name : {"..", "a\\b", "a/b", "file:stream"}) {
    EXPECT_FALSE(folder.CreateNewFile(name, 0644).IsOpen()) << name;
    EXPECT_FALSE(folder.OpenChild(name, true).IsOpen()) << name;
  }
}

TEST(WindowsFolder, AJunctionIsNeverEntered) {
  testkit::TempDir dir, outside;
  ASSERT_TRUE(Write(outside.PathText("secret.txt"), "s"));
  if (!testkit::MakeJunction(dir.PathText("link"), outside.PathText()))
    GTEST_SKIP() << "junctions can't be made here";
  const Folder folder = Folder::Open(dir.PathText());
  EXPECT_EQ(folder.Inspect("link").kind, Folder::EntryKind::Link);
  EXPECT_FALSE(folder.OpenChild("link", false).IsOpen());
  EXPECT_FALSE(folder.OpenChild("link", true).IsOpen());
  EXPECT_FALSE(platform::DirectoryExists(dir.PathText("link")));
  EXPECT_FALSE(platform::FileExists(dir.PathText("link\\secret.txt")));
  EXPECT_FALSE(platform::ForceDirectories(dir.PathText("link\\made")));
  EXPECT_FALSE(platform::IsLinkFreeFolder(dir.PathText("link\\x")));
  EXPECT_TRUE(platform::RemoveFile(dir.PathText("link")));  // the junction goes, what it led to stays
  EXPECT_TRUE(platform::PathExists(outside.PathText("secret.txt")));
}

TEST(WindowsFileSystem, PathTextsFromTheDriveRoot) {
  testkit::TempDir dir;
  EXPECT_TRUE(platform::DirectoryExists("C:\\"));
  EXPECT_TRUE(platform::ForceDirectories(dir.PathText("a\\b\\c")));
  EXPECT_TRUE(platform::DirectoryExists(dir.PathText("a\\b\\..\\b\\c")));
  EXPECT_TRUE(platform::IsLinkFreeFolder(dir.PathText("a\\b\\not-yet")));
  ASSERT_TRUE(Write(dir.PathText("a\\one.ZIP"), "z"));
  ASSERT_TRUE(Write(dir.PathText("a\\two.txt"), "t"));
  EXPECT_EQ(platform::ListFiles(dir.PathText("a")).size(), 2u);
  EXPECT_EQ(platform::DeleteZipFiles(dir.PathText("a")), 1);
  EXPECT_EQ(platform::ListFiles(dir.PathText("a")), std::vector<std::string>{"two.txt"});
  EXPECT_FALSE(platform::ForceDirectories("Q:\\no\\such\\drive"));
}

}  // namespace
