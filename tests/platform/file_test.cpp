// The file layer: what opens, what is refused, whole-file writes and renames.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/folder.h"
#include "tests/testkit/files.h"
#include "tests/testkit/temp_prefix.h"

namespace fs = std::filesystem;
using platform::File;
using platform::FileError;

namespace {

class FileLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    testkit::WriteFile(P("plain"), "0123456789");
    fs::create_symlink(P("plain"), P("link"));
    fs::create_symlink(P("nowhere"), P("dangling"));
    fs::create_directory(P("dir"));
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0644), 0);
  }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  testkit::TempDir dir_;
};

TEST_F(FileLayer, OpensRegularFilesOnlyAndSaysWhyNot) {
  struct Case {
    const char* name;
    File::Mode mode;
    FileError error;
  } const cases[] = {
      {"plain", File::Mode::Read, FileError::None},
      {"plain", File::Mode::WriteExisting, FileError::None},
      {"link", File::Mode::Read, FileError::NotRegular},
      {"link", File::Mode::CreateOrTruncate, FileError::NotRegular},
      {"fifo", File::Mode::Read, FileError::NotRegular},  // never blocks waiting for a writer
      {"fifo", File::Mode::CreateOrTruncate, FileError::NotRegular},
      {"dir", File::Mode::Read, FileError::NotRegular},
      {"missing", File::Mode::Read, FileError::NotFound},
      {"missing/below", File::Mode::CreateOrTruncate, FileError::NotFound},
      {"plain/below", File::Mode::Read, FileError::NotFound},
      {"plain", File::Mode::CreateNew, FileError::Exists},
      {"dangling", File::Mode::CreateNew, FileError::Exists},  // never made through the link
  };
  for (const Case& c : cases) {
    File file = File::Open(P(c.name), c.mode);
    EXPECT_EQ(file.IsOpen(), c.error == FileError::None) << c.name;
    EXPECT_EQ(file.Error(), c.error) << c.name;
  }
  EXPECT_FALSE(fs::exists(P("nowhere")));
  EXPECT_EQ(testkit::ReadFile(P("plain")), "0123456789");  // nothing truncated through the link
  EXPECT_EQ(File::Open(P("missing"), File::Mode::Read).WindowsErrorCode(), 2u);
  EXPECT_EQ(File::Open(P("plain/below"), File::Mode::Read).WindowsErrorCode(), 3u);
  EXPECT_EQ(File::Open(P("dir"), File::Mode::Read).WindowsErrorCode(), 5u);
}

TEST_F(FileLayer, WritesAtOffsetsAndSetsTheLength) {
  File file = File::Open(P("new"), File::Mode::CreateNew);
  ASSERT_TRUE(file.IsOpen());
  ASSERT_TRUE(file.Reserve(8));
  EXPECT_EQ(file.Length(), 8);
  ASSERT_TRUE(file.WriteAt("cd", 2, 2) && file.WriteAt("ab", 2, 0) && file.WriteAt("xy", 2, 10));
  EXPECT_EQ(file.Length(), 12);
  char buf[16] = {};
  EXPECT_EQ(file.ReadAt(buf, sizeof buf, 0), 12);
  EXPECT_EQ(std::string(buf, 12), std::string("abcd\0\0\0\0\0\0xy", 12));
  EXPECT_EQ(file.ReadAt(buf, 4, 11), 1);  // fewer only at the end
  ASSERT_TRUE(file.Reserve(3));           // cuts a longer file down
  EXPECT_EQ(file.Length(), 3);
  EXPECT_FALSE(file.Reserve(INT64_MAX));  // more than any file system holds
  // Most file systems call it too large; tmpfs says it is full.
  EXPECT_TRUE(file.Error() == FileError::TooLarge || file.Error() == FileError::NoSpace)
      << FileErrorText(file.Error());
  EXPECT_EQ(file.Length(), 3);
  ASSERT_TRUE(file.SetLength(0) && file.Write("hi", 2) && file.Sync() && file.Close());
  EXPECT_EQ(testkit::ReadFile(P("new")), "hi");

  File existing = File::Open(P("plain"), File::Mode::CreateOrTruncate);
  ASSERT_TRUE(existing.IsOpen());
  EXPECT_EQ(existing.Length(), 0);
  File moved = std::move(existing);
  EXPECT_TRUE(moved.IsOpen() && !existing.IsOpen());
}

TEST_F(FileLayer, ReadsWholeRegularFilesUpToACap) {
  EXPECT_EQ(platform::ReadWholeFile(P("plain"), 10), "0123456789");
  EXPECT_EQ(platform::ReadWholeFile(P("plain"), 9), std::nullopt);
  for (const char* refused : {"link", "fifo", "dir", "missing"})
    EXPECT_EQ(platform::ReadWholeFile(P(refused), 100), std::nullopt) << refused;
}

TEST_F(FileLayer, ReplacesAtomicallyOrLeavesEverythingAsItWas) {
  ASSERT_TRUE(platform::ReplaceFileAtomically(P("plain"), "new content"));
  EXPECT_EQ(testkit::ReadFile(P("plain")), "new content");
  ASSERT_TRUE(platform::ReplaceFileAtomically(P("fresh"), ""));
  EXPECT_TRUE(fs::is_regular_file(P("fresh")));
  // A folder in the way: the rename fails, the temporary file goes.
  EXPECT_FALSE(platform::ReplaceFileAtomically(P("dir"), "x"));
  EXPECT_TRUE(fs::is_directory(P("dir")));
  EXPECT_FALSE(platform::ReplaceFileAtomically(P("missing/below"), "x"));
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_.path())) ++entries;
  EXPECT_EQ(entries, 6u);  // plain, link, dangling, dir, fifo, fresh: nothing left over
}

TEST_F(FileLayer, RenameNoReplaceNeverTakesAnExistingPlace) {
  testkit::WriteFile(P("a"), "A");
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("plain")), FileError::Exists);
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("dangling")), FileError::Exists);
  EXPECT_EQ(testkit::ReadFile(P("plain")), "0123456789");
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("b")), FileError::None);
  EXPECT_FALSE(fs::exists(P("a")));
  EXPECT_EQ(testkit::ReadFile(P("b")), "A");
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("c")), FileError::NotFound);
  EXPECT_EQ(platform::RenameReplacing(P("b"), P("plain")), FileError::None);
  EXPECT_EQ(testkit::ReadFile(P("plain")), "A");
}

TEST_F(FileLayer, QueriesLookAtTheLinkNotItsTarget) {
  EXPECT_EQ(platform::RegularFileLength(P("plain")), 10);
  for (const char* other : {"link", "dangling", "dir", "fifo", "missing"})
    EXPECT_EQ(platform::RegularFileLength(P(other)), -1) << other;
  EXPECT_TRUE(platform::PathExists(P("dangling")));
  EXPECT_FALSE(platform::PathExists(P("missing")));
  EXPECT_TRUE(platform::RemovePath(P("link")));
  EXPECT_TRUE(fs::exists(P("plain")));
  EXPECT_FALSE(platform::RemovePath(P("dir")));
  ASSERT_TRUE(platform::MakeFolders(P("x/y/z")));
  EXPECT_TRUE(fs::is_directory(P("x/y/z")));
  EXPECT_FALSE(platform::MakeFolders(P("plain/sub")));
}

TEST_F(FileLayer, FoldersAreEnteredByNameNeverThroughALink) {
  fs::create_directory_symlink(P("dir"), P("dirlink"));
  const platform::Folder root = platform::Folder::Open(dir_.path());
  ASSERT_TRUE(root.IsOpen());
  EXPECT_FALSE(root.OpenChild("dirlink", true).IsOpen());
  EXPECT_FALSE(root.OpenChild("plain", true).IsOpen());
  const platform::Folder made = root.OpenChild("made", true);
  ASSERT_TRUE(made.IsOpen());
  EXPECT_FALSE(root.CreateNewFile("plain", 0644).IsOpen());
  File file = made.CreateNewFile("f", 0444);
  ASSERT_TRUE(file.IsOpen() && file.Write("x", 1) && file.SetModifiedTime(1000000000) && file.Close());
  struct stat st;
  ASSERT_EQ(::stat(P("made/f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
  EXPECT_EQ(made.Inspect("f").kind, platform::Folder::EntryKind::File);
  EXPECT_FALSE(made.Inspect("f").ownerMayWrite);
  EXPECT_EQ(root.Inspect("dirlink").kind, platform::Folder::EntryKind::Link);
  EXPECT_EQ(root.Inspect("dir").kind, platform::Folder::EntryKind::Folder);
  EXPECT_EQ(root.Inspect("missing").kind, platform::Folder::EntryKind::Missing);
  EXPECT_TRUE(made.Rename("f", "g") && made.Remove("g"));
  EXPECT_FALSE(fs::exists(P("made/g")));
}

TEST(FileErrorText, EveryErrorHasItsOwnReason) {
  const FileError all[] = {FileError::None,   FileError::NotFound, FileError::NotRegular, FileError::Exists,
                           FileError::NoSpace, FileError::TooLarge, FileError::Io};
  std::set<std::string> texts;
  for (FileError e : all) texts.insert(platform::FileErrorText(e));
  EXPECT_EQ(texts.size(), std::size(all));
  EXPECT_STREQ(platform::FileErrorText(FileError::NoSpace), "no space left on the device");
}

}  // namespace
