// What a single-request download accepts, how its bounds end it, and what it leaves on disk.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "tests/pubshare/download_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kHtmlPage[] = "\n  <!DOCTYPE html>\n<html><body>Not found</body></html>\n";

class FetchChecks : public DownloadTest {
 protected:
  void SetUp() override {
    DownloadTest::SetUp();
    WriteFile(root_ + "/page.html", kHtmlPage);
  }
  FetchResult Fetch(const std::string& path, const std::string& name, const DownloadOptions& options = {}) {
    return FetchToFile(server_.Url(path), dir_ + "/" + name, options, nullptr);
  }
};

TEST_F(FetchChecks, ARefusedResponseLeavesNothingUnderTheName) {
  const struct {
    const char* path;
    const char* name;
    FetchError error;
  } cases[] = {
      {"fault/status=404/pkg.zip", "pkg.zip", FetchError::HttpStatus},
      {"fault/status=500/pkg.zip", "pkg.zip", FetchError::HttpStatus},
      {"fault/drop=1000/pkg.zip", "pkg.zip", FetchError::Short},  // cut before the Content-Length
      {"fault/drop=1000,rate=2000000/pkg.zip", "pkg.zip", FetchError::Short},
      {"fault/empty/pkg.zip", "pkg.zip", FetchError::Empty},
      {"fault/gzip/pkg.zip", "pkg.zip", FetchError::Encoded},
      {"fault/html/pkg.zip", "pkg.zip", FetchError::Html},
      {"fault/html/pkg.zip", "MarnkeyDrive.EXE", FetchError::Html},
      {"fault/redirect=2,html/pkg.zip", "BaseService.msi", FetchError::Html},
      {"page.html", "OstrelCSP.exe", FetchError::Html},  // an HTML page however it is labelled
      {"fault/nolen/page.html", "pkg.zip", FetchError::Html},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ + "/" + c.name, "old");
    const FetchResult result = Fetch(c.path, c.name);
    EXPECT_EQ(result.error, c.error) << c.path << " -> " << c.name << ": " << result.reason;
    EXPECT_FALSE(result.reason.empty()) << c.path;
    EXPECT_EQ(Files(), std::vector<std::string>{}) << c.path;
  }
}

TEST_F(FetchChecks, HtmlIsAcceptedWhereNoProgramPackageOrArchiveIsExpected) {
  for (const char* path : {"fault/html/KELOPRO.INI", "page.html"}) {
    EXPECT_TRUE(Fetch(path, "KELOPRO.INI")) << path;
    EXPECT_TRUE(Fetch(path, "setup.exe.txt")) << path;
  }
  EXPECT_EQ(ReadFile(dir_ + "/setup.exe.txt"), kHtmlPage);
}

TEST_F(FetchChecks, TheDeadlineEndsATrickleOrAServerThatNeverAnswers) {
  const DownloadOptions options{.deadline = milliseconds(800)};
  for (const char* path : {"fault/rate=20/KELOPRO.INI", "fault/endless,rate=200/KELOPRO.INI",
                           "fault/stallhead=2500/KELOPRO.INI"}) {
    const auto start = Clock::now();
    EXPECT_EQ(Fetch(path, "KELOPRO.INI", options).error, FetchError::Deadline) << path;
    EXPECT_LT(Clock::now() - start, milliseconds(2400)) << path;  // before any other bound
    EXPECT_EQ(Files(), std::vector<std::string>{}) << path;
  }
}

TEST_F(FetchChecks, TheSizeLimitEndsAnEndlessOrTooLongBody) {
  const DownloadOptions options{.maxBytes = 100000};
  for (const char* path : {"fault/endless/KELOPRO.INI", "fault/nolen/pkg.zip", "pkg.zip"}) {
    EXPECT_EQ(Fetch(path, "KELOPRO.INI", options).error, FetchError::TooLarge) << path;
    EXPECT_EQ(Files(), std::vector<std::string>{}) << path;
  }
  EXPECT_TRUE(Fetch("pkg.zip", "pkg.zip", {.maxBytes = 300000}));
}

TEST_F(FetchChecks, TheAbortCheckEndsAStalledTransferQuickly) {
  for (const char* path : {"fault/stallhead=6000/pkg.zip", "fault/stall=6000,stallat=1000/pkg.zip",
                           "fault/rate=20/pkg.zip"}) {
    const auto abortAt = Clock::now() + milliseconds(300);
    const FetchResult result =
        Fetch(path, "pkg.zip", {.abort = [abortAt] { return Clock::now() >= abortAt; }});
    EXPECT_EQ(result.error, FetchError::Aborted) << path;
    EXPECT_LT(Clock::now() - abortAt, milliseconds(1500)) << path;  // within 200 ms, generously
    EXPECT_EQ(Files(), std::vector<std::string>{}) << path;
  }
  server_.ResetCounters();
  EXPECT_EQ(Fetch("pkg.zip", "pkg.zip", {.abort = [] { return true; }}).error, FetchError::Aborted);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(FetchChecks, TheTemporariesOfAKilledCallForTheSameTargetGo) {
  const std::string outside = prefix_.scratch() + "/outside";
  WriteFile(outside, "keep");
  for (const char* name : {"pkg.zip.part-abc123", "pkg.zip.part-0z9y8x"}) WriteFile(dir_ + "/" + name, "left");
  const std::vector<std::string> kept = {"other.zip.part-abc123", "pkg.zip.part-ABC123", "pkg.zip.part-abc12",
                                         "pkg.zip.part-abc1234", "pkg.zip.tmp-abc123"};
  for (const std::string& name : kept) WriteFile(dir_ + "/" + name, "keep");
  fs::create_directory(dir_ + "/pkg.zip.part-folder");
  fs::create_symlink(outside, dir_ + "/pkg.zip.part-link00");

  EXPECT_EQ(Fetch("missing.zip", "pkg.zip").error, FetchError::HttpStatus);  // also when the call fails
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"pkg.zip.part-folder", "pkg.zip.part-link00"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Files(), expected);
  EXPECT_EQ(ReadFile(outside), "keep");
}

TEST_F(FetchChecks, DownloadToFilePassesItsBoundsOn) {
  EXPECT_FALSE(DownloadToFile(server_.Url("fault/endless/KELOPRO.INI"), dir_ + "/KELOPRO.INI", false, {},
                              {.deadline = milliseconds(5000), .maxBytes = 1 << 20}));
  std::atomic<bool> closed{false};
  std::thread closer([&closed] {
    std::this_thread::sleep_for(milliseconds(200));
    closed = true;  // as the window's close sets it
  });
  EXPECT_FALSE(DownloadToFile(server_.Url("fault/stallhead=6000/a.exe"), dir_ + "/a.exe", true, {},
                              {.abort = [&closed] { return closed.load(); }}));
  closer.join();
  EXPECT_EQ(Files(), std::vector<std::string>{});
}

}  // namespace
