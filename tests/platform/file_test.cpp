// The file layer on both systems: what opens, what is refused, whole-file writes and renames,
// folders entered by name. Links and FIFOs are Linux's; tests/platform/file_win32_test.cpp has
// what only Windows has.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/folder.h"
#include "platform/temporaries.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"

namespace fs = std::filesystem;
using platform::File;
using platform::FileError;
using platform::Folder;
using Mode = File::Mode;

namespace {

class FileLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Write("plain", "0123456789"));
    ASSERT_TRUE(Write("spare", "12345"));
    fs::create_directory(dir_ / "dir");
#ifndef _WIN32
    fs::create_symlink(P("plain"), P("link"));
    fs::create_symlink(P("nowhere"), P("dangling"));
    ASSERT_EQ(::mkfifo(P("fifo").c_str(), 0644), 0);
#endif
  }
  std::string P(const std::string& name) const { return dir_.PathText(name); }
  std::string Read(const std::string& name) const { return testkit::ReadFile(testkit::Utf8Path(P(name))); }
  bool Write(const std::string& name, const std::string& bytes) const {
    return testkit::WriteFile(testkit::Utf8Path(P(name)), bytes);
  }
  testkit::TempDir dir_;
};

TEST_F(FileLayer, OpensRegularFilesOnlyAndSaysWhyNot) {
  struct Case {
    const char* name;
    Mode mode;
    FileError error;
    int64_t length;
    bool linuxOnly = false;
  } const cases[] = {
      {"plain", Mode::Read, FileError::None, 10},
      {"plain", Mode::WriteExisting, FileError::None, 10},
      {"spare", Mode::CreateOrTruncate, FileError::None, 0},
      {"plain", Mode::CreateNew, FileError::Exists, -1},
      {"new", Mode::CreateNew, FileError::None, 0},
      {"dir", Mode::Read, FileError::NotRegular, -1},
      {"missing", Mode::Read, FileError::NotFound, -1},
      {"missing", Mode::WriteExisting, FileError::NotFound, -1},
      {"missing/below", Mode::CreateOrTruncate, FileError::NotFound, -1},
      {"missing/below", Mode::CreateNew, FileError::NotFound, -1},
      {"plain/below", Mode::Read, FileError::NotFound, -1},
      {"link", Mode::Read, FileError::NotRegular, -1, true},
      {"link", Mode::CreateOrTruncate, FileError::NotRegular, -1, true},
      {"fifo", Mode::Read, FileError::NotRegular, -1, true},  // never blocks waiting for a writer
      {"fifo", Mode::CreateOrTruncate, FileError::NotRegular, -1, true},
      {"dangling", Mode::CreateNew, FileError::Exists, -1, true},  // never made through the link
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    if (c.linuxOnly) continue;
#endif
    File file = File::Open(P(c.name), c.mode);
    EXPECT_EQ(file.IsOpen(), c.error == FileError::None) << c.name;
    EXPECT_EQ(file.Error(), c.error) << c.name;
    EXPECT_EQ(file.Length(), c.length) << c.name;
  }
  EXPECT_FALSE(platform::PathExists(P("nowhere")));
  EXPECT_EQ(Read("plain"), "0123456789");  // nothing truncated through the link
  EXPECT_EQ(File::Open(P("missing"), Mode::Read).WindowsErrorCode(), 2u);
  EXPECT_EQ(File::Open(P("plain/below"), Mode::Read).WindowsErrorCode(), 3u);
#ifdef _WIN32
  EXPECT_EQ(File::Open(P("missing/below"), Mode::CreateNew).WindowsErrorCode(), 3u);  // Linux: ENOENT, 2
#else
  EXPECT_EQ(File::Open(P("dir"), Mode::Read).WindowsErrorCode(), 5u);  // Windows: ERROR_DIRECTORY, 267
#endif
}

TEST_F(FileLayer, WritesAtOffsetsAndSetsTheLength) {
  File file = File::Open(P("new"), Mode::CreateNew);
  ASSERT_TRUE(file.IsOpen());
  ASSERT_TRUE(file.Reserve(8));
  EXPECT_EQ(file.Length(), 8);
  ASSERT_TRUE(file.Write("ab", 2));  // the current position stays at 0 after the reservation
  ASSERT_TRUE(file.WriteAt("cd", 2, 2) && file.WriteAt("xy", 2, 10));
  EXPECT_EQ(file.Length(), 12);
  char buf[16] = {};
  EXPECT_EQ(file.ReadAt(buf, sizeof buf, 0), 12);
  EXPECT_EQ(std::string(buf, 12), std::string("abcd\0\0\0\0\0\0xy", 12));
  EXPECT_EQ(file.ReadAt(buf, 4, 11), 1);  // fewer only at the end
  EXPECT_EQ(file.ReadAt(buf, 4, 12), 0);
  ASSERT_TRUE(file.Reserve(3));  // cuts a longer file down
  EXPECT_EQ(file.Length(), 3);
#ifndef _WIN32
  EXPECT_FALSE(file.Reserve(INT64_MAX));  // more than any file system holds
  // Most file systems call it too large; tmpfs says it is full.
  EXPECT_TRUE(file.Error() == FileError::TooLarge || file.Error() == FileError::NoSpace)
      << FileErrorText(file.Error());
  EXPECT_EQ(file.Length(), 3);
#endif
  ASSERT_TRUE(file.SetLength(2));
  EXPECT_EQ(file.Length(), 2);
  ASSERT_TRUE(file.Write("hi", 2) && file.Sync() && file.Close());
  EXPECT_EQ(Read("new"), "abhi");

  File existing = File::Open(P("plain"), Mode::Read);
  ASSERT_TRUE(existing.IsOpen());
  File moved = std::move(existing);
  EXPECT_TRUE(moved.IsOpen() && !existing.IsOpen());
}

TEST_F(FileLayer, ReadsWholeRegularFilesUpToACap) {
  EXPECT_EQ(platform::ReadWholeFile(P("plain"), 10), "0123456789");
  EXPECT_EQ(platform::ReadWholeFile(P("plain"), 9), std::nullopt);
  std::vector<const char*> refused = {"dir", "missing"};
#ifndef _WIN32
  refused.insert(refused.end(), {"link", "fifo"});
#endif
  for (const char* name : refused) EXPECT_EQ(platform::ReadWholeFile(P(name), 100), std::nullopt) << name;
}

TEST_F(FileLayer, ReplacesAtomicallyOrLeavesEverythingAsItWas) {
  std::vector<std::string> expected = testkit::ListTree(dir_.path());
  ASSERT_TRUE(platform::ReplaceFileAtomically(P("plain"), "new content"));
  EXPECT_EQ(Read("plain"), "new content");
  ASSERT_TRUE(platform::ReplaceFileAtomically(P("fresh"), "old"));
  ASSERT_TRUE(platform::ReplaceFileAtomically(P("fresh"), ""));
  EXPECT_EQ(platform::RegularFileLength(P("fresh")), 0);
  // A folder in the way: the rename fails, the temporary file goes.
  EXPECT_FALSE(platform::ReplaceFileAtomically(P("dir"), "x"));
  EXPECT_TRUE(fs::is_directory(dir_ / "dir"));
  EXPECT_FALSE(platform::ReplaceFileAtomically(P("missing/below"), "x"));
  expected.push_back("fresh");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testkit::ListTree(dir_.path()), expected);  // nothing left over
}

TEST_F(FileLayer, TemporariesAreFoundByTheirNamesOnly) {
  std::string temp;
  ASSERT_TRUE(platform::CreateTemporaryBeside(P("plain"), ".tmp", temp).IsOpen());
  ASSERT_TRUE(Write("plain.tmp-keepme!", "x"));  // not a temporary's name
  EXPECT_EQ(platform::RemoveTemporariesBeside(P("plain"), ".tmp"), 1);
  EXPECT_FALSE(platform::PathExists(temp));
  EXPECT_TRUE(platform::PathExists(P("plain.tmp-keepme!")));
}

TEST_F(FileLayer, RenameNoReplaceNeverTakesAnExistingPlace) {
  ASSERT_TRUE(Write("a", "A"));
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("plain")), FileError::Exists);
#ifndef _WIN32
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("dangling")), FileError::Exists);
#endif
  EXPECT_EQ(Read("plain"), "0123456789");
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("b")), FileError::None);
  EXPECT_FALSE(platform::PathExists(P("a")));
  EXPECT_EQ(platform::ReadWholeFile(P("b"), 10), "A");
  EXPECT_EQ(platform::RenameNoReplace(P("a"), P("c")), FileError::NotFound);
  EXPECT_EQ(platform::RenameReplacing(P("b"), P("plain")), FileError::None);
  EXPECT_EQ(Read("plain"), "A");
  EXPECT_FALSE(platform::PathExists(P("b")));
}

TEST_F(FileLayer, QueriesLookAtTheLinkNotItsTarget) {
  EXPECT_EQ(platform::RegularFileLength(P("plain")), 10);
  std::vector<const char*> others = {"dir", "missing"};
#ifndef _WIN32
  others.insert(others.end(), {"link", "dangling", "fifo"});
  EXPECT_TRUE(platform::PathExists(P("dangling")));
  EXPECT_TRUE(platform::RemovePath(P("link")));
#endif
  for (const char* other : others) EXPECT_EQ(platform::RegularFileLength(P(other)), -1) << other;
  EXPECT_FALSE(platform::PathExists(P("missing")));
  EXPECT_TRUE(platform::PathExists(P("plain")));
  EXPECT_FALSE(platform::RemovePath(P("dir")));
  ASSERT_TRUE(platform::MakeFolders(P("x/y/z")));
  EXPECT_TRUE(fs::is_directory(dir_ / "x" / "y" / "z"));
  EXPECT_FALSE(platform::MakeFolders(P("plain/sub")));
}

TEST_F(FileLayer, FoldersAreEnteredByNameNeverThroughALink) {
  const Folder root = Folder::Open(P(""));
  ASSERT_TRUE(root.IsOpen());
#ifndef _WIN32
  fs::create_directory_symlink(P("dir"), P("dirlink"));
  EXPECT_FALSE(root.OpenChild("dirlink", true).IsOpen());
  EXPECT_EQ(root.Inspect("dirlink").kind, Folder::EntryKind::Link);
#endif
  EXPECT_FALSE(root.OpenChild("plain", true).IsOpen());
  EXPECT_FALSE(root.CreateNewFile("plain", 0644).IsOpen());
  const Folder made = root.OpenChild("子目录", true);
  ASSERT_TRUE(made.IsOpen());
  File file = made.CreateNewFile("文件.txt", 0444);
  ASSERT_TRUE(file.IsOpen() && file.Write("x", 1) && file.SetModifiedTime(1000000000) && file.Close());
#ifndef _WIN32
  struct stat st;
  ASSERT_EQ(::stat(P("子目录/文件.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
#endif
  EXPECT_EQ(made.Names(), std::vector<std::string>{"文件.txt"});
  EXPECT_EQ(made.Inspect("文件.txt").kind, Folder::EntryKind::File);
  EXPECT_FALSE(made.Inspect("文件.txt").ownerMayWrite);
  ASSERT_TRUE(root.CreateNewFile("rw", 0644).IsOpen());
  EXPECT_TRUE(root.Inspect("rw").ownerMayWrite);
  EXPECT_EQ(root.Inspect("子目录").kind, Folder::EntryKind::Folder);
  EXPECT_EQ(root.Inspect("dir").kind, Folder::EntryKind::Folder);
  EXPECT_EQ(root.Inspect("missing").kind, Folder::EntryKind::Missing);
  EXPECT_TRUE(made.Rename("文件.txt", "g") && made.Remove("g"));
  EXPECT_TRUE(made.Names().empty());
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
