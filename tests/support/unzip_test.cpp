#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <functional>
#include <random>
#include <thread>

#include <zip.h>

#include <gtest/gtest.h>

#include "support/PubZip.h"
#include "support/PubCrc.h"
#include "support/UnzipEntries.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/temp_prefix.h"
#include "zip_writer.h"

namespace {

const std::string kZhongwen = "\xE4\xB8\xAD\xE6\x96\x87";     // 中文 in UTF-8
const std::string kZhongwenGbk = "\xD6\xD0\xCE\xC4";          // the same in code page 936
const std::string kMulu = "\xE7\x9B\xAE\xE5\xBD\x95";         // 目录
const std::string kMuluGbk = "\xC4\xBF\xC2\xBC";

// The permission bits of p (of the link itself where p is one); 0 when it isn't there.
unsigned Mode(const fs::path& p) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(p, ec);
  return ec ? 0 : static_cast<unsigned>(status.permissions());
}

#ifdef _WIN32
unsigned CurrentUmask() { return 0; }  // Windows has none
// Windows keeps no executable bit: a file is read-only or not.
constexpr unsigned kExecutableMode = 0666;
#else
unsigned CurrentUmask() {
  const mode_t m = ::umask(0);
  ::umask(m);
  return m;
}
constexpr unsigned kExecutableMode = 0755;
#endif

const fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

class UnZip : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  fs::path archive = dir / "pkg.zip";
  fs::path dest = dir / "OstrelPlatform";
};

TEST_F(UnZip, FolderAndTopLevelFileSameWithTrailingBackslash) {
  WriteZip(archive, {{"bin/tool.exe", "tool"}, {"readme.txt", "hello"}});
  EXPECT_TRUE(UnZipFile(archive.string(), dest.string()));
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{"bin/", "bin/tool.exe", "readme.txt"}));
  EXPECT_EQ(testkit::ReadFile(dest / "bin" / "tool.exe"), "tool");

  const fs::path other = dir / "other";
  EXPECT_TRUE(UnZipFile(archive.string(), other.string() + "\\"));
  EXPECT_EQ(testkit::ListTree(other), testkit::ListTree(dest));
}

TEST_F(UnZip, WindowsPathTextsGoThroughThePrefix) {
  TESTKIT_SKIP_ON_WINDOWS("the prefix; on Windows C:\\ is the real drive");
  testkit::TempPrefix prefix;
  WriteZip(prefix.driveC() / "pkg.zip", {{"a.txt", "a"}});
  EXPECT_TRUE(UnZipFile("C:\\pkg.zip", "C:\\Program Files\\OstrelPlatform\\"));
  EXPECT_EQ(testkit::ReadFile(prefix.driveC() / "Program Files" / "OstrelPlatform" / "a.txt"), "a");
}

TEST_F(UnZip, AMissingDriveIsNeverCreated) {
  testkit::TempPrefix prefix;
  WriteZip(archive, {{"a.txt", "a"}});
  EXPECT_FALSE(UnZipFile(archive.string(), "Q:\\OstrelPlatform"));
  EXPECT_FALSE(fs::exists(prefix.path() + "/dosdevices/q:"));
}

TEST_F(UnZip, ReplacesExistingFiles) {
  testkit::WriteFile(dest / "old.txt", "old");
  WriteZip(archive, {{"old.txt", "new"}});
  EXPECT_TRUE(UnZipFile(archive.string(), dest.string()));
  EXPECT_EQ(testkit::ReadFile(dest / "old.txt"), "new");
}

// An entry whose place is taken fails the whole, and the extraction is undone:
// what was there stays, the other entries are gone again, no temporary file stays.
TEST_F(UnZip, AnEntryThatCantBePutInPlaceFailsTheExtraction) {
  const struct {
    const char* what;
    std::function<void(const fs::path&)> block;  // takes the place of "x/y.txt"
    bool needsPermissionBits;
  } cases[] = {
      {"folder where the file goes", [](const fs::path& d) { fs::create_directories(d / "x" / "y.txt"); }, false},
      {"file where its folder goes", [](const fs::path& d) { testkit::WriteFile(d / "x", "mine"); }, false},
      {"folder without write permission",
       [](const fs::path& d) {
         fs::create_directories(d / "x");
         fs::permissions(d / "x", kReadOnly | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsPermissionBits && !testkit::PermissionBitsBindUs()) continue;
    const testkit::TempDir scratch;
    const fs::path target = scratch / "dest";
    c.block(target);
    const std::vector<std::string> before = testkit::ListTree(target);
    WriteZip(archive, {{"x/y.txt", "theirs"}, {"free.txt", "free"}});

    const UnZipReport report = UnZipFileReport(archive.string(), target.string());
    EXPECT_EQ(report.error, UnZipError::kInTheWay);
    EXPECT_NE(report.reason.find("x/y.txt"), std::string::npos) << report.reason;
    EXPECT_EQ(report.blocked, 1u);
    EXPECT_EQ(testkit::ListTree(target), before);  // the old things as they were, no temporary files
    EXPECT_FALSE(UnZipFile(archive.string(), target.string()));
  }
}

TEST_F(UnZip, StoredAttributesAreApplied) {
  const unsigned mask = CurrentUmask();
  WriteZip(archive, {{"ro.txt", "first", -1, {{kMadeOnDos, 0x21}}},
                     {"rw.txt", "rw", -1, {{kMadeOnDos, 0x20}}},
                     {"run.sh", "#!", -1, {{kMadeOnUnix, (zip_unix_type::kRegular | 04755u) << 16}}}});
  ASSERT_TRUE(UnZipFile(archive.string(), dest.string()));
  EXPECT_EQ(Mode(dest / "ro.txt") & 0777, 0444 & ~mask);
  EXPECT_EQ(Mode(dest / "rw.txt") & 0777, 0666 & ~mask);
  EXPECT_EQ(Mode(dest / "run.sh") & 07777, kExecutableMode & ~mask);

  // A second run replaces the read-only copy of the first, which it made read-only again.
  WriteZip(archive, {{"ro.txt", "second", -1, {{kMadeOnDos, 0x21}}}, {"rw.txt", "rw2"}});
  const UnZipReport again = UnZipFileReport(archive.string(), dest.string());
  EXPECT_TRUE(again.ok()) << again.reason;
  EXPECT_EQ(testkit::ReadFile(dest / "ro.txt"), "second");
  EXPECT_EQ(Mode(dest / "ro.txt") & 0777, 0444 & ~mask);
  EXPECT_EQ(testkit::ReadFile(dest / "rw.txt"), "rw2");
}

TEST_F(UnZip, ChineseNamesComeOutRightAtEveryDepth) {
  WriteZip(archive, {{kZhongwen + ".txt", "utf8 flag"},
                     {kMulu + "/" + kZhongwen + "1.txt", "utf8 flag, folder"},
                     {kZhongwen + "2.txt", "utf8 without flag"},
                     {kMulu + "/" + kZhongwen + "3.txt", "utf8 without flag, folder"},
                     {kZhongwenGbk + "4.txt", "gbk"},
                     {kMuluGbk + "\\" + kZhongwenGbk + "5.txt", "gbk, folder"}});
  ZipBytes bytes(archive);
  bytes.ClearUtf8Flag(2);
  bytes.ClearUtf8Flag(3);
  bytes.Save();

  ASSERT_EQ(UnZipFileReport(archive.string(), dest.string()).extracted, 6u);
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{kZhongwen + ".txt", kZhongwen + "2.txt", kZhongwen + "4.txt",
                                                      kMulu + "/", kMulu + "/" + kZhongwen + "1.txt",
                                                      kMulu + "/" + kZhongwen + "3.txt",
                                                      kMulu + "/" + kZhongwen + "5.txt"}));
  EXPECT_EQ(testkit::ReadFile(dest / testkit::Utf8Path(kMulu + "/" + kZhongwen + "5.txt")), "gbk, folder");
}

TEST_F(UnZip, ManyEntriesOfMixedSizesAllArriveIntact) {
  std::mt19937 gen(3);
  const bool bzip2 = zip_compression_method_supported(ZIP_CM_BZIP2, 1);
  std::vector<TestEntry> entries;
  for (int i = 0; i < 120; ++i) {
    std::string data(gen() % (i % 10 == 0 ? 400000 : 3000), '\0');
    for (char& c : data) c = static_cast<char>(i % 3 == 0 ? gen() : 'a' + gen() % 4);
    // Stored, deflated, and (where the library has it) a method read through the library.
    const int method = i % 5 == 0 ? ZIP_CM_STORE : i % 11 == 0 && bzip2 ? ZIP_CM_BZIP2 : -1;
    entries.push_back({"d" + std::to_string(i % 7) + "/s" + std::to_string(i % 3) + "/f" + std::to_string(i), data,
                       method});
  }
  entries.push_back({"empty.txt", ""});
  entries.push_back({"only/folder/", ""});
  WriteZip(archive, entries);

  const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
  EXPECT_EQ(report.extracted, entries.size());
  EXPECT_TRUE(report.ok()) << report.reason;
  EXPECT_EQ(report.blocked + report.failed + report.rejectedNames, 0u);
  for (const TestEntry& e : entries)
    if (e.name.back() != '/') {
      ASSERT_EQ(testkit::ReadFile(dest / e.name), e.data) << e.name;
    }
  EXPECT_TRUE(fs::is_directory(dest / "only" / "folder"));
}

TEST_F(UnZip, SameNameTwiceTheLaterEntryWins) {
  WriteZip(archive, {{"dup1.txt", "first"}, {"dup2.txt", "second"}});
  ZipBytes bytes(archive);
  bytes.SetNameByte(1, 3, '1');
  bytes.Save();
  EXPECT_EQ(UnZipFileReport(archive.string(), dest.string()).extracted, 2u);
  EXPECT_EQ(testkit::ReadFile(dest / "dup1.txt"), "second");
}

TEST_F(UnZip, PumpsMessagesOnTheCallingThread) {
  WriteZip(archive, {{"big.bin", std::string(8 << 20, 'x')}, {"small.txt", "s"}});
  std::vector<std::thread::id> callers;
  EXPECT_TRUE(UnZipFile(archive.string(), dest.string(), [&] { callers.push_back(std::this_thread::get_id()); }));
  ASSERT_FALSE(callers.empty());
  for (const auto& id : callers) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(UnZip, AnExceptionFromThePumpStopsTheWorkAndLeavesNoPartialFiles) {
  WriteZip(archive, {{"big.bin", std::string(32 << 20, 'y')}, {"small.txt", "s"}});
  EXPECT_THROW(UnZipFile(archive.string(), dest.string(), [] { throw std::runtime_error("window closed"); }),
               std::runtime_error);
  for (const std::string& name : testkit::ListTree(dest)) EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

}  // namespace
