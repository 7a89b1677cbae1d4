// An extraction over an earlier version: files in the way (read-only, hidden, a running
// program) are replaced; a failed, stopped or killed extraction leaves the folder as it was.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#endif

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "support/PubZip.h"
#include "tests/testkit/child_process.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/temp_dir.h"
#include "zip_writer.h"

namespace {

using namespace std::chrono_literals;
const std::pair<uint8_t, uint32_t> kDosReadOnly{kMadeOnDos, 0x21}, kDosHiddenSystem{kMadeOnDos, 0x26};

// The earlier version, and the next one over it: one file stays, three are replaced (one stored
// read-only, one hidden and system), two are added in a new folder and at the end.
const std::vector<TestEntry> kOld = {{"OstrelMain.exe", "old main"},
                                     {"bin/lib.dll", "old lib", -1, kDosReadOnly},
                                     {"readme.txt", "old readme", -1, kDosHiddenSystem},
                                     {"keep/only-old.txt", "only in the old"}};
const std::vector<TestEntry> kNew = {{"OstrelMain.exe", "new main"},
                                     {"bin/lib.dll", "new lib", -1, kDosReadOnly},
                                     {"readme.txt", "new readme", -1, kDosHiddenSystem},
                                     {"new/added.txt", "added"},
                                     {"zz-last.txt", "last"}};

using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const fs::path& root) { return testkit::TreeSnapshot(root); }
std::string Attributes(const fs::path& p) { return testkit::AttributesText(p); }

// Names the extraction gives its own files, left in the tree.
std::vector<std::string> Bookkeeping(const fs::path& root) {
  std::vector<std::string> found;
  for (const std::string& name : testkit::ListTree(root))
    if (name.find(".ostrel-") != std::string::npos) found.push_back(name);
  return found;
}

// The program that extracts in a child process, or keeps running ("wait"); Windows finds it
// beside this one.
#ifdef _WIN32
const std::string kChild = "unzip_child";
#else
const std::string kChild = OSTREL_UNZIP_CHILD;
#endif

// A copy of the child program at target.
void CopyChild(const fs::path& target) {
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  // Wine names a program in a folder that no drive maps "unix\..."; the file itself is then
  // reached as "\\?\unix\...". A real Windows names it by its drive.
  if (path.rfind(L"unix\\", 0) == 0) path = L"\\\\?\\" + path;
  const std::wstring child = path.substr(0, path.find_last_of(L"\\/") + 1) + L"unzip_child.exe";
  ASSERT_TRUE(CopyFileW(child.c_str(), target.wstring().c_str(), FALSE)) << GetLastError();
#else
  fs::copy_file(kChild, target, fs::copy_options::overwrite_existing);
#endif
}

class Upgrade : public ::testing::Test {
 protected:
  Upgrade() {
    WriteZip(oldZip, kOld);
    WriteZip(newZip, kNew);
    EXPECT_TRUE(UnZipFile(oldZip.string(), dest.string()));
  }
  void ExpectNewVersion() {
    for (const TestEntry& e : kNew) EXPECT_EQ(testkit::ReadFile(dest / e.name), e.data) << e.name;
    EXPECT_EQ(testkit::ReadFile(dest / "keep/only-old.txt"), "only in the old");
    EXPECT_EQ(Attributes(dest / "bin/lib.dll").substr(0, 2), "ro");
    EXPECT_EQ(Bookkeeping(dest), std::vector<std::string>{});
  }

  testkit::TempDir dir;
  fs::path oldZip = dir / "old.zip", newZip = dir / "new.zip", dest = dir / "OstrelPlatform";
};

TEST_F(Upgrade, ReplacesReadOnlyHiddenAndSystemFiles) {
  fs::permissions(dest / "OstrelMain.exe", fs::perms::owner_write, fs::perm_options::remove);  // attrib +r
  const UnZipReport report = UnZipFileReport(newZip.string(), dest.string());
  ASSERT_TRUE(report.ok()) << report.reason;
  ExpectNewVersion();
#ifdef _WIN32
  EXPECT_EQ(Attributes(dest / "readme.txt"), "rw hidden system");
#endif
}

TEST_F(Upgrade, AFailedExtractionLeavesTheFolderAsItWas) {
  struct Case {
    const char* what;
    UnZipError error;
    std::function<void(const fs::path& dest, const fs::path& newZip, UnZipOptions& options)> twist;
  };
  const std::vector<Case> cases = {
      {"a folder where the last entry goes", UnZipError::kInTheWay,
       [](const fs::path& d, const fs::path&, UnZipOptions&) { fs::create_directories(d / "zz-last.txt"); }},
      {"the last entry's data fails its CRC-32", UnZipError::kBadData,
       [](const fs::path&, const fs::path& zip, UnZipOptions&) {
         ZipBytes bytes(zip);
         bytes.SetCrc(kNew.size() - 1, 0x12345678);
         bytes.Save();
       }},
      {"a stop request (the window closed)", UnZipError::kStopped,
       [](const fs::path&, const fs::path&, UnZipOptions& o) { o.stop = [] { return true; }; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteZip(newZip, kNew);
    UnZipOptions options;
    c.twist(dest, newZip, options);
    const Snapshot before = Take(dest);
    const UnZipReport report = UnZipFileReport(newZip.string(), dest.string(), options);
    EXPECT_EQ(report.error, c.error) << report.reason;
    EXPECT_TRUE(report.restored);
    EXPECT_EQ(Take(dest), before);
    fs::remove_all(dest / "zz-last.txt");
  }
}

TEST_F(Upgrade, AKilledExtractionIsUndoneByTheNextRun) {
  // Large enough that the kill lands while the entries are being written.
  std::vector<TestEntry> big = kNew;
  for (int i = 0; i < 300; ++i)
    big.push_back({"many/f" + std::to_string(i), testkit::RandomBytes(96 << 10, i), /*stored*/ 0});
  WriteZip(newZip, big);
  const Snapshot before = Take(dest);
  bool killedMidway = false;
  for (int attempt = 0; attempt < 5 && !killedMidway; ++attempt) {
    {
      testkit::ChildProcess child(kChild, {newZip.string(), dest.string()},
                                  (dir / "out.txt").string(), (dir / "err.txt").string());
      const auto giveUp = std::chrono::steady_clock::now() + 20s;
      while (!fs::exists(dest / "many" / "f20") && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(1ms);
    }  // killed here
    killedMidway = !Bookkeeping(dest).empty();
    if (!killedMidway) {
      ASSERT_TRUE(RecoverUnZipFolder(dest.string()));
      ASSERT_TRUE(UnZipFile(oldZip.string(), dest.string()));  // finished first: back to the old and again
      fs::remove_all(dest / "many");
      fs::remove_all(dest / "new");
      fs::remove(dest / "zz-last.txt");
    }
  }
  ASSERT_TRUE(killedMidway) << "the child finished before it was killed, five times";
  EXPECT_TRUE(RecoverUnZipFolder(dest.string()));
  EXPECT_EQ(Take(dest), before);
  ASSERT_TRUE(UnZipFile(newZip.string(), dest.string()));
  ExpectNewVersion();
}

TEST_F(Upgrade, ARunningProgramIsReplacedAndItsOldFileRemovedOnceItEnds) {
  CopyChild(dest / "OstrelMain.exe");
  {
    testkit::ChildProcess running((dest / "OstrelMain.exe").string(), {"wait"}, (dir / "out.txt").string(),
                                  (dir / "err.txt").string());
    std::this_thread::sleep_for(300ms);  // loaded and running
    const UnZipReport report = UnZipFileReport(newZip.string(), dest.string());
    ASSERT_TRUE(report.ok()) << report.reason;
    EXPECT_EQ(testkit::ReadFile(dest / "OstrelMain.exe"), "new main");
  }  // ended here
  // Windows keeps a running program's old file until it ends; the next run removes it.
  EXPECT_TRUE(RecoverUnZipFolder(dest.string()));
  ExpectNewVersion();
}

#ifdef _WIN32
TEST_F(Upgrade, AFileHeldOpenWithoutDeleteSharingFailsTheExtractionAndNothingChanges) {
  const Snapshot before = Take(dest);
  const HANDLE held = CreateFileW((dest / "bin" / "lib.dll").wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const UnZipReport report = UnZipFileReport(newZip.string(), dest.string());
  CloseHandle(held);
  EXPECT_EQ(report.error, UnZipError::kInTheWay);
  EXPECT_NE(report.reason.find("bin/lib.dll"), std::string::npos) << report.reason;
  EXPECT_NE(report.reason.find("another program holds it open"), std::string::npos) << report.reason;
  EXPECT_EQ(Take(dest), before);
}
#else
// A small file system of its own: many small files fill it before their declared sizes say so.
TEST_F(Upgrade, AFullDiskLeavesTheFolderAsItWas) {
  const fs::path small = dir / "small";
  fs::create_directories(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=1m") != 0) GTEST_SKIP() << "no tmpfs can be mounted here";
  struct Unmount {
    fs::path at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{small};
  const fs::path target = small / "OstrelPlatform";
  ASSERT_TRUE(UnZipFile(oldZip.string(), target.string()));
  std::vector<TestEntry> many = kNew;
  for (int i = 0; i < 600; ++i) many.push_back({"many/f" + std::to_string(i), "x"});
  WriteZip(newZip, many);
  const Snapshot before = Take(target);
  const UnZipReport report = UnZipFileReport(newZip.string(), target.string());
  EXPECT_EQ(report.error, UnZipError::kWriteFailed) << report.reason;
  EXPECT_EQ(Take(target), before);
}
#endif

}  // namespace
