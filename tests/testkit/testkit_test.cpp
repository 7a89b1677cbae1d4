// The test-support library's own promises: what a temporary folder leaves behind and what a
// prefix scope gives back.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/host_path.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/temp_prefix.h"

namespace fs = std::filesystem;

TEST(TempDir, GoesWithReadOnlyContentsAndLeavesWhatItsLinksPointAt) {
  const testkit::TempDir outside;
  testkit::WriteFile(outside / "keep.txt", "keep");
  fs::path gone;
  {
    const testkit::TempDir dir;
    gone = dir.path();
    testkit::WriteFile(dir / "locked" / "a.txt", "a");
    ::chmod((dir / "locked").c_str(), 0500);
    fs::create_directory_symlink(outside.path(), dir / "link");
  }
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_EQ(testkit::ReadFile(outside / "keep.txt"), "keep");
}

TEST(TempDir, SaysWhyWhenNoFolderCanBeMade) {
  const char* old = ::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", "/proc", 1);  // no one makes folders there
  EXPECT_THROW(testkit::TempDir(), std::runtime_error);
  old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
}

TEST(TempPrefix, PointsTheLayerAtAFreshPrefixAndGivesTheOldOneBack) {
  const testkit::TempPrefix outer;
  {
    const testkit::TempPrefix inner;
    EXPECT_EQ(platform::PrefixDir(), inner.path());
    EXPECT_TRUE(fs::is_directory(inner.driveC()));
    EXPECT_EQ(platform::HostPath("C:\\a.txt"), inner.path() + "/dosdevices/c:/a.txt");
  }
  EXPECT_EQ(::getenv("OSTREL_PREFIX"), outer.path());
  EXPECT_EQ(platform::PrefixDir(), outer.path());
}

TEST(ListTree, NamesInUtf8WithSlashesWhateverTheCodePage) {
  const std::string mulu = "\xE7\x9B\xAE\xE5\xBD\x95", zhongwen = "\xE4\xB8\xAD\xE6\x96\x87";  // 目录, 中文
  const testkit::TempDir dir;
  testkit::WriteFile(dir / testkit::Utf8Path(mulu + "/" + zhongwen + ".txt"), "x");
  EXPECT_EQ(testkit::ListTree(dir.path()), (std::vector<std::string>{mulu + "/", mulu + "/" + zhongwen + ".txt"}));
  EXPECT_EQ(testkit::Utf8Text(dir / testkit::Utf8Path(mulu)), dir.path().string() + "/" + mulu);
}
