#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>

#include <zip.h>

#include <gtest/gtest.h>

#include "support/PubZip.h"
#include "support/UnzipEntries.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "zip_writer.h"

namespace {

// The destination lies two levels down, so that names climbing out of it
// would land inside the scratch folder where the tests can see them.
class UnZipSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(outside);
    fs::create_directories(dest);
  }
  // Everything in the scratch folder outside the destination.
  std::vector<std::string> Outside() {
    std::vector<std::string> found;
    for (const std::string& name : testkit::ListTree(dir.path()))
      if (name.rfind("top/dest/", 0) != 0) found.push_back(name);
    return found;
  }
  const std::vector<std::string> kUntouched{"outside/", "pkg.zip", "top/"};

  testkit::TempDir dir;
  fs::path archive = dir / "pkg.zip";
  fs::path outside = dir / "outside";
  fs::path dest = dir / "top" / "dest";
};

TEST_F(UnZipSafety, NamesLeavingTheDestinationAreSkipped) {
  const std::string absolute = (dir / "outside" / "abs.txt").string();
  WriteZip(archive, {{absolute, "abs"},
                     {"../escape.txt", "up"},
                     {"a/../../../outside/climb.txt", "climb"},
                     {"..\\..\\outside\\back.txt", "back"},
                     {"C:\\drive.txt", "drive"},
                     {"C:drive2.txt", "drive"},
                     {"ok\\inside.txt", "fine"}});
  const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
  EXPECT_TRUE(report.ok()) << report.reason;  // skipped silently
  EXPECT_EQ(report.rejectedNames, 6u);
  EXPECT_EQ(report.extracted, 1u);
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{"ok/", "ok/inside.txt"}));
  EXPECT_EQ(Outside(), kUntouched);
}

TEST_F(UnZipSafety, NulInANameNeverLeadsOutside) {
  WriteZip(archive, {{"x_/../../../outside/nul.txt", "nul"}, {"a_b.txt", "ab"}});
  ZipBytes bytes(archive);
  bytes.SetNameByte(0, 1, '\0');
  bytes.SetNameByte(1, 1, '\0');
  bytes.Save();
  UnZipFileReport(archive.string(), dest.string());
  EXPECT_EQ(Outside(), kUntouched);
  for (const std::string& name : testkit::ListTree(dest)) EXPECT_EQ(name.find("..", 0), std::string::npos);
}

TEST_F(UnZipSafety, ExistingLinksInTheDestinationAreNeverFollowed) {
  TESTKIT_SKIP_ON_WINDOWS("symbolic links, which Wine does not make");
  fs::create_directory_symlink(outside, dest / "linkdir");
  testkit::WriteFile(outside / "target.txt", "keep");
  fs::create_symlink(outside / "target.txt", dest / "linkfile.txt");
  WriteZip(archive, {{"linkdir/evil.txt", "evil"}, {"linkdir/", ""}, {"linkfile.txt", "replaced"}});
  const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
  EXPECT_EQ(report.error, UnZipError::kInTheWay);  // a link on the way is in the way
  EXPECT_FALSE(fs::exists(outside / "evil.txt"));
  EXPECT_TRUE(fs::is_symlink(dest / "linkfile.txt"));  // undone: the link is back

  WriteZip(archive, {{"linkfile.txt", "replaced"}});
  EXPECT_TRUE(UnZipFile(archive.string(), dest.string()));
  EXPECT_EQ(testkit::ReadFile(outside / "target.txt"), "keep");
  EXPECT_FALSE(fs::is_symlink(dest / "linkfile.txt"));  // the link itself was replaced
  EXPECT_EQ(testkit::ReadFile(dest / "linkfile.txt"), "replaced");
}

TEST_F(UnZipSafety, ALinkEntryBecomesAPlainFileAndCannotBeWrittenThrough) {
  WriteZip(archive, {{"ln", outside.string(), -1, {{kMadeOnUnix, (zip_unix_type::kLink | 0777u) << 16}}},
                     {"ln/evil.txt", "evil"},
                     {"rel", "../../outside", -1, {{kMadeOnUnix, (zip_unix_type::kLink | 0777u) << 16}}},
                     {"rel/evil2.txt", "evil"}});
  UnZipFileReport(archive.string(), dest.string());
  EXPECT_EQ(Outside(), kUntouched);
  EXPECT_FALSE(fs::is_symlink(dest / "ln"));
  EXPECT_FALSE(fs::is_symlink(dest / "rel"));
}

TEST_F(UnZipSafety, EntriesFailingTheirCrcLeaveNothingAndKeepTheOldFile) {
  testkit::WriteFile(dest / "stored.bin", "old stored");
  WriteZip(archive, {{"good.txt", "good"},
                     {"stored.bin", "stored data", ZIP_CM_STORE},
                     {"deflated.txt", std::string(5000, 'z')},
                     {"empty.txt", ""},
                     {"broken.txt", std::string(5000, 'q')}});
  ZipBytes bytes(archive);
  bytes.FlipFirstDataByte(1);
  bytes.SetCrc(2, 0x12345678);
  bytes.SetCrc(3, 0x1);  // an empty entry has CRC 0
  bytes.FlipFirstDataByte(4);  // deflate data that no longer inflates to the stored CRC
  bytes.Save();

  const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
  EXPECT_EQ(report.error, UnZipError::kBadData);
  EXPECT_GE(report.failed, 1u);
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{"stored.bin"}));
  EXPECT_EQ(testkit::ReadFile(dest / "stored.bin"), "old stored");
}

// An entry whose data inflates far beyond its declared size is cut off there:
// run in a child whose file size limit would kill it on a write past 4 MiB.
TEST_F(UnZipSafety, DataBeyondTheDeclaredSizeIsNeverWritten) {
  TESTKIT_SKIP_ON_WINDOWS("a child with a file size limit (fork, setrlimit)");
#ifndef _WIN32
  testkit::WriteFile(dest / "bomb.bin", "old bomb");
  WriteZip(archive, {{"small.txt", "small"}, {"bomb.bin", std::string(64 << 20, '\0')}});
  ZipBytes bytes(archive);
  bytes.SetUncompressedSize(1, 10);
  bytes.Save();

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const struct rlimit limit = {4 << 20, 4 << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
    const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
    ::_exit(report.error == UnZipError::kBadData && report.restored ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{"bomb.bin"}));
  EXPECT_EQ(testkit::ReadFile(dest / "bomb.bin"), "old bomb");
#endif
}

TEST_F(UnZipSafety, UnreadableOrEmptyArchivesGiveFalseAndCreateNothing) {
  testkit::WriteFile(dir / "text.zip", "this is not an archive at all");
  testkit::WriteFile(dir / "empty.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  WriteZip(dir / "bad-names.zip", {{"../only-bad.txt", "x"}});
  const struct {
    const char* name;
    UnZipError error;
  } cases[] = {{"missing.zip", UnZipError::kUnreadable},
               {"text.zip", UnZipError::kUnreadable},
               {"empty.zip", UnZipError::kNothingToExtract},
               {"bad-names.zip", UnZipError::kNothingToExtract}};
  const fs::path target = dir / "never";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const UnZipReport report = UnZipFileReport((dir / c.name).string(), target.string());
    EXPECT_EQ(report.error, c.error);
    EXPECT_FALSE(UnZipFile((dir / c.name).string(), target.string()));
    EXPECT_FALSE(fs::exists(target));
  }
}

}  // namespace
