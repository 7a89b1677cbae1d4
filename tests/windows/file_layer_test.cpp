// The file and folder layer on the real Windows calls.
#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/temporaries.h"
#include "tests/windows/scratch_folder.h"

namespace {

using platform::File;
using platform::FileError;
using platform::Folder;
using Mode = File::Mode;

TEST(WindowsFile, OpenModesKeepTheirPromises) {
  ScratchFolder dir;
  const std::string existing = dir / "existing.bin", missing = dir / "missing.bin";
  ASSERT_TRUE(WriteBytes(existing, "12345"));
  struct Case {
    Mode mode;
    bool onExisting;
    bool opens;
    FileError error;
    int64_t length;
  } cases[] = {
      {Mode::Read, true, true, FileError::None, 5},
      {Mode::Read, false, false, FileError::NotFound, -1},
      {Mode::WriteExisting, false, false, FileError::NotFound, -1},
      {Mode::CreateOrTruncate, true, true, FileError::None, 0},
      {Mode::CreateNew, true, false, FileError::Exists, -1},
      {Mode::CreateNew, false, true, FileError::None, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteBytes(existing, "12345"));
    platform::RemovePath(missing);
    File file = File::Open(c.onExisting ? existing : missing, c.mode);
    EXPECT_EQ(file.IsOpen(), c.opens) << static_cast<int>(c.mode);
    EXPECT_EQ(file.Error(), c.error) << static_cast<int>(c.mode);
    EXPECT_EQ(file.Length(), c.length) << static_cast<int>(c.mode);
  }
}

TEST(WindowsFile, PositionedReadsAndWritesAndTheLength) {
  ScratchFolder dir;
  File file = File::Open(dir / "f.bin", Mode::CreateNew);
  ASSERT_TRUE(file.Reserve(10000));
  EXPECT_EQ(file.Length(), 10000);
  ASSERT_TRUE(file.WriteAt("tail", 4, 9996));
  ASSERT_TRUE(file.Write("head", 4));  // the current position stays at 0 after the reservation
  char got[4];
  EXPECT_EQ(file.ReadAt(got, 4, 9996), 4);
  EXPECT_EQ(std::string(got, 4), "tail");
  EXPECT_EQ(file.ReadAt(got, 4, 0), 4);
  EXPECT_EQ(std::string(got, 4), "head");
  EXPECT_EQ(file.ReadAt(got, 4, 10000), 0);
  ASSERT_TRUE(file.SetLength(2));
  EXPECT_EQ(file.Length(), 2);
  EXPECT_TRUE(file.Sync());
  EXPECT_TRUE(file.Close());
}

TEST(WindowsFile, FoldersAndMissingParentsAreNotFiles) {
  ScratchFolder dir;
  EXPECT_EQ(File::Open(dir.path(), Mode::Read).Error(), FileError::NotRegular);
  File inMissing = File::Open(dir / "no\\such.bin", Mode::CreateNew);
  EXPECT_EQ(inMissing.Error(), FileError::NotFound);
  EXPECT_EQ(inMissing.WindowsErrorCode(), 3u);  // ERROR_PATH_NOT_FOUND
}

TEST(WindowsFile, RenamesReplaceOnlyWhenAsked) {
  ScratchFolder dir;
  ASSERT_TRUE(WriteBytes(dir / "a", "A"));
  ASSERT_TRUE(WriteBytes(dir / "b", "B"));
  EXPECT_EQ(platform::RenameNoReplace(dir / "a", dir / "b"), FileError::Exists);
  EXPECT_EQ(platform::ReadWholeFile(dir / "b", 10), "B");
  EXPECT_EQ(platform::RenameReplacing(dir / "a", dir / "b"), FileError::None);
  EXPECT_EQ(platform::ReadWholeFile(dir / "b", 10), "A");
  EXPECT_FALSE(platform::PathExists(dir / "a"));
  EXPECT_EQ(platform::RenameNoReplace(dir / "b", dir / "c"), FileError::None);
}

TEST(WindowsFile, AtomicReplacementAndItsTemporaries) {
  ScratchFolder dir;
  const std::string target = dir / "state.cfg";
  ASSERT_TRUE(platform::ReplaceFileAtomically(target, "old"));
  ASSERT_TRUE(platform::ReplaceFileAtomically(target, "new"));
  EXPECT_EQ(platform::ReadWholeFile(target, 100), "new");
  std::string temp;
  ASSERT_TRUE(platform::CreateTemporaryBeside(target, ".tmp", temp).IsOpen());
  ASSERT_TRUE(WriteBytes(dir / "state.cfg.tmp-keepme!", "x"));  // not a temporary's name
  EXPECT_EQ(platform::RemoveTemporariesBeside(target, ".tmp"), 1);
  EXPECT_FALSE(platform::PathExists(temp));
  EXPECT_TRUE(platform::PathExists(dir / "state.cfg.tmp-keepme!"));
}

TEST(WindowsFile, ReadOnlyPermissionsBecomeTheAttribute) {
  ScratchFolder dir;
  const Folder folder = Folder::Open(dir.path());
  ASSERT_TRUE(folder.CreateNewFile("ro", 0444).IsOpen());
  ASSERT_TRUE(folder.CreateNewFile("rw", 0644).IsOpen());
  EXPECT_FALSE(folder.Inspect("ro").ownerMayWrite);
  EXPECT_TRUE(folder.Inspect("rw").ownerMayWrite);
}

TEST(WindowsFolder, EntriesByNameOnly) {
  ScratchFolder dir;
  const Folder folder = Folder::Open(dir.path());
  ASSERT_TRUE(folder.IsOpen());
  const Folder sub = folder.OpenChild("子目录", true);
  ASSERT_TRUE(sub.IsOpen());
  ASSERT_TRUE(sub.CreateNewFile("文件.txt", 0644).IsOpen());
  EXPECT_EQ(sub.Names(), std::vector<std::string>{"文件.txt"});
  EXPECT_EQ(folder.Inspect("子目录").kind, Folder::EntryKind::Folder);
  EXPECT_EQ(sub.Inspect("文件.txt").kind, Folder::EntryKind::File);
  EXPECT_EQ(sub.Inspect("none").kind, Folder::EntryKind::Missing);
  // Names that would reach past the folder or into a stream are refused.
  for (const char* name : {"..", "a\\b", "a/b", "file:stream"}) {
    EXPECT_FALSE(sub.CreateNewFile(name, 0644).IsOpen()) << name;
    EXPECT_FALSE(sub.OpenChild(name, true).IsOpen()) << name;
  }
  EXPECT_TRUE(sub.Rename("文件.txt", "b.txt"));
  EXPECT_TRUE(sub.Remove("b.txt"));
  EXPECT_TRUE(sub.Names().empty());
}

TEST(WindowsFolder, AJunctionIsNeverEntered) {
  ScratchFolder dir, outside;
  ASSERT_TRUE(WriteBytes(outside / "secret.txt", "s"));
  if (!MakeJunction(dir / "link", outside.path())) GTEST_SKIP() << "junctions can't be made here";
  const Folder folder = Folder::Open(dir.path());
  EXPECT_EQ(folder.Inspect("link").kind, Folder::EntryKind::Link);
  EXPECT_FALSE(folder.OpenChild("link", false).IsOpen());
  EXPECT_FALSE(folder.OpenChild("link", true).IsOpen());
  EXPECT_FALSE(platform::DirectoryExists(dir / "link"));
  EXPECT_FALSE(platform::FileExists(dir / "link\\secret.txt"));
  EXPECT_FALSE(platform::ForceDirectories(dir / "link\\made"));
  EXPECT_FALSE(platform::IsLinkFreeFolder(dir / "link\\x"));
  EXPECT_TRUE(platform::RemoveFile(dir / "link"));  // the junction goes, what it led to stays
  EXPECT_TRUE(platform::PathExists(outside / "secret.txt"));
}

TEST(WindowsFileSystem, PathTextsFromTheDriveRoot) {
  ScratchFolder dir;
  EXPECT_TRUE(platform::DirectoryExists("C:\\"));
  EXPECT_TRUE(platform::ForceDirectories(dir / "a\\b\\c"));
  EXPECT_TRUE(platform::DirectoryExists(dir / "a\\b\\..\\b\\c"));
  EXPECT_TRUE(platform::IsLinkFreeFolder(dir / "a\\b\\not-yet"));
  ASSERT_TRUE(WriteBytes(dir / "a\\one.ZIP", "z"));
  ASSERT_TRUE(WriteBytes(dir / "a\\two.txt", "t"));
  EXPECT_EQ(platform::ListFiles(dir / "a").size(), 2u);
  EXPECT_EQ(platform::DeleteZipFiles(dir / "a"), 1);
  EXPECT_EQ(platform::ListFiles(dir / "a"), std::vector<std::string>{"two.txt"});
  EXPECT_FALSE(platform::ForceDirectories("Q:\\no\\such\\drive"));
}

}  // namespace
