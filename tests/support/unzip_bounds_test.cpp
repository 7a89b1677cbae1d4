// Archives that must be refused before anything is written, and the clean-up
// of what earlier runs left.
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <functional>

#include <zip.h>

#include <gtest/gtest.h>

#include "support/PubZip.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "zip_writer.h"

namespace {

class UnZipBounds : public ::testing::Test {
 protected:
  testkit::TempDir dir;
  fs::path archive = dir / "pkg.zip";
  fs::path dest = dir / "OstrelPlatform";
};

const std::string kMiB(1 << 20, '\0');

struct OverlapCase {
  const char* what;
  std::function<void(const fs::path&)> make;
  const char* detail;  // the entries the reason names
};

TEST_F(UnZipBounds, OverlappingEntriesAreRefusedBeforeAnyByteIsWritten) {
  const OverlapCase cases[] = {
      {"entries sharing one compressed stream",
       [](const fs::path& a) {
         WriteZip(a, {{"a.bin", kMiB}, {"b.bin", kMiB}, {"c.bin", kMiB}});
         ZipBytes bytes(a);
         bytes.ShareLocalHeader(1, 0);
         bytes.ShareLocalHeader(2, 0);
         bytes.Save();
       },
       "a.bin and b.bin"},
      {"an entry inside another's data",
       [](const fs::path& a) { WriteEntryInsideAnother(a, {"outer.bin", ""}, {"inner.bin", kMiB}); },
       "outer.bin and inner.bin"},
      {"data running into the next entry",
       [](const fs::path& a) {
         WriteZip(a, {{"a.bin", "aaaa", ZIP_CM_STORE}, {"b.bin", "bbbb"}});
         ZipBytes bytes(a);
         bytes.SetCompressedSize(0, bytes.CompressedSize(0) + 1);
         bytes.Save();
       },
       "a.bin and b.bin"},
      {"data running into the central directory",
       [](const fs::path& a) {
         WriteZip(a, {{"a.bin", "aaaa"}, {"b.bin", "bbbb", ZIP_CM_STORE}});
         ZipBytes bytes(a);
         bytes.SetCompressedSize(1, bytes.CompressedSize(1) + 1);
         bytes.Save();
       },
       "b.bin and the central directory"},
  };
  for (const OverlapCase& c : cases) {
    SCOPED_TRACE(c.what);
    c.make(archive);
    const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
    EXPECT_EQ(report.error, UnZipError::kOverlapping);
    EXPECT_NE(report.reason.find(c.detail), std::string::npos) << report.reason;
    EXPECT_FALSE(fs::exists(dest));
  }
}

TEST_F(UnZipBounds, DataDescriptorsWithAndWithoutSignatureAreAccepted) {
  WriteRawZip(archive, {{"plain.txt", "plain", RawEntry::kDescriptor},
                        {"signed.txt", "signed", RawEntry::kSignedDescriptor},
                        {"none.txt", "none"}});
  const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
  EXPECT_TRUE(report.ok()) << report.reason;
  EXPECT_EQ(testkit::ReadFile(dest / "signed.txt"), "signed");
}

TEST_F(UnZipBounds, DeclaredSizesAreComparedWithTheFreeSpace) {
  WriteZip(archive, {{"a.bin", std::string(3000, 'a')}, {"d/b.bin", std::string(1000, 'b')}, {"d/", ""}});
  const struct {
    std::optional<uint64_t> free;
    bool fits;
  } cases[] = {{3999, false}, {0, false}, {4000, true}, {std::nullopt, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.free ? std::to_string(*c.free) : "unknown");
    fs::remove_all(dest);
    std::string askedFor;
    UnZipOptions options;
    options.freeSpace = [&](const std::string& folder) {
      askedFor = folder;
      return c.free;
    };
    const UnZipReport report = UnZipFileReport(archive.string(), dest.string(), options);
    EXPECT_EQ(report.declaredBytes, 4000u);
    EXPECT_EQ(askedFor, dest.string());
    EXPECT_EQ(report.ok(), c.fits) << report.reason;
    if (!c.fits) {
      EXPECT_EQ(report.error, UnZipError::kNoSpace);
      EXPECT_FALSE(fs::exists(dest));
    }
  }
}

TEST_F(UnZipBounds, LeftoversOfAKilledRunAreRemovedFromTheFoldersWrittenInto) {
  testkit::WriteFile(dir / "outside.txt", "keep");
  const std::vector<std::string> leftovers = {".ostrel-unzip-1.part", "sub/.ostrel-unzip-42.part"};
  const std::vector<std::string> kept = {".ostrel-unzip-.part", ".ostrel-unzip-1x.part", ".ostrel-unzip-1.part.txt",
                                         "ostrel-unzip-1.part", "other/.ostrel-unzip-1.part"};
  for (const std::string& name : leftovers) testkit::WriteFile(dest / name, "half");
  for (const std::string& name : kept) testkit::WriteFile(dest / name, "mine");
#ifndef _WIN32  // Wine makes no symbolic links
  fs::create_symlink(dir / "outside.txt", dest / ".ostrel-unzip-2.part");
#endif
  fs::create_directories(dest / ".ostrel-unzip-3.part");
  WriteZip(archive, {{"a.txt", "a"}, {"sub/b.txt", "b"}});

  EXPECT_TRUE(UnZipFile(archive.string(), dest.string()));
  for (const std::string& name : leftovers) EXPECT_FALSE(fs::exists(dest / name)) << name;
  for (const std::string& name : kept) EXPECT_EQ(testkit::ReadFile(dest / name), "mine") << name;
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dest / ".ostrel-unzip-2.part"));
#endif
  EXPECT_TRUE(fs::is_directory(dest / ".ostrel-unzip-3.part"));
  EXPECT_EQ(testkit::ReadFile(dir / "outside.txt"), "keep");
}

// A write error (here: past the file size limit) fails the whole and leaves
// neither a temporary file, nor a changed old file, nor the entries before it.
TEST_F(UnZipBounds, AWriteErrorFailsTheExtractionAndLeavesNoTemporaryFile) {
  TESTKIT_SKIP_ON_WINDOWS("a child with a file size limit (fork, setrlimit)");
#ifndef _WIN32
  testkit::WriteFile(dest / "big.bin", "old");
  WriteZip(archive, {{"small.txt", "small"}, {"big.bin", std::string(4 << 20, 'x')}});
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const struct rlimit limit = {1 << 20, 1 << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    const UnZipReport report = UnZipFileReport(archive.string(), dest.string());
    ::_exit(report.error == UnZipError::kWriteFailed && report.restored ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(testkit::ListTree(dest), (std::vector<std::string>{"big.bin"}));
  EXPECT_EQ(testkit::ReadFile(dest / "big.bin"), "old");
#endif
}

}  // namespace
