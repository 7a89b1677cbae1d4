// DownloadToFile against the local test server.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/pubShare.h"
#include "tests/platform/temp_prefix.h"
#include "tools/testserver/test_http_server.h"

namespace fs = std::filesystem;
using testutil::ReadFile;
using testutil::WriteFile;

namespace {

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = prefix_.scratch() + "/www";
    fs::create_directories(root_);
    body_.resize(300000);
    for (size_t i = 0; i < body_.size(); ++i) body_[i] = static_cast<char>((i * 7919) >> 3);
    WriteFile(root_ + "/pkg.zip", body_);
    WriteFile(root_ + "/KELOPRO.INI", "[Setup]\r\nLargeVer=1.0\r\n");
    WriteFile(root_ + "/empty.bin", "");
    server_ = std::make_unique<testserver::TestHttpServer>(root_);
    dir_ = prefix_.scratch() + "/out";
    fs::create_directories(dir_);
  }
  void TearDown() override { SetDownloadProgressHandlers({}); }

  // Events as text: "begin N", "work N", "end".
  void RecordEvents() {
    SetDownloadProgressHandlers({[this](int64_t n) { events_.push_back("begin " + std::to_string(n)); },
                                 [this](int64_t n) { events_.push_back("work " + std::to_string(n)); },
                                 [this] { events_.push_back("end"); }});
  }
  // No temporary file may stay behind in dir.
  void ExpectOnlyFiles(const std::string& dir, std::vector<std::string> names) {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(dir)) found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(found, names);
  }

  testutil::TempPrefix prefix_;
  std::string root_, dir_, body_;
  std::unique_ptr<testserver::TestHttpServer> server_;
  std::vector<std::string> events_;
};

TEST_F(DownloadTest, SavesTheWholeBodyAndReplacesAnOldFile) {
  const std::string target = dir_ + "/pkg.zip";
  WriteFile(target, "old content");
  EXPECT_TRUE(DownloadToFile(server_->Url("pkg.zip"), target, false));
  EXPECT_EQ(ReadFile(target), body_);
  ExpectOnlyFiles(dir_, {"pkg.zip"});
  const auto requests = server_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].range, "");
  EXPECT_EQ(requests[0].userAgent, "");  // the client's defaults: no User-Agent
}

TEST_F(DownloadTest, WindowsPathsGoThroughThePrefixAndMissingFoldersAreCreated) {
  const std::string target = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\KELOPRO.INI";
  EXPECT_TRUE(DownloadToFile("  " + server_->Url("KELOPRO.INI") + " ", target, false));
  EXPECT_EQ(ReadFile(prefix_.path() + "/drive_c/Program Files/Ostrel/InstOstrel/Downloads/KELOPRO.INI"),
            "[Setup]\r\nLargeVer=1.0\r\n");
  EXPECT_EQ(ReadIniString("Setup", "LargeVer", target), "1.0");
  EXPECT_TRUE(DownloadToFile(server_->Url("pkg.zip"), dir_ + "/a/b/c/pkg.zip", false));
  EXPECT_EQ(ReadFile(dir_ + "/a/b/c/pkg.zip"), body_);
}

TEST_F(DownloadTest, ABlankUrlChangesNothing) {
  const std::string target = dir_ + "/keep.ini";
  WriteFile(target, "keep me");
  EXPECT_FALSE(DownloadToFile("   \t ", target, true));
  EXPECT_FALSE(DownloadToFile("", dir_ + "/new/x.ini", false));
  EXPECT_EQ(ReadFile(target), "keep me");
  EXPECT_FALSE(fs::exists(dir_ + "/new"));
  EXPECT_TRUE(server_->Requests().empty());
}

TEST_F(DownloadTest, AnEmptyBodyFailsAndTheOldFileIsGone) {
  for (const std::string path : {"empty.bin", "fault/empty/pkg.zip"}) {
    const std::string target = dir_ + "/target.bin";
    WriteFile(target, "old");
    EXPECT_FALSE(DownloadToFile(server_->Url(path), target, false)) << path;
    EXPECT_FALSE(fs::exists(target)) << path;
    ExpectOnlyFiles(dir_, {});
  }
}

TEST_F(DownloadTest, ErrorStatusesAndConnectionFailuresLeaveNoFile) {
  const std::string target = dir_ + "/pkg.zip";
  for (const std::string path : {"missing.zip", "fault/status=500/pkg.zip", "fault/status=302/pkg.zip",
                                 "fault/status=204/pkg.zip", "fault/drop=1000/pkg.zip"}) {
    WriteFile(target, "old");
    EXPECT_FALSE(DownloadToFile(server_->Url(path), target, false)) << path;
    EXPECT_FALSE(fs::exists(target)) << path;
    ExpectOnlyFiles(dir_, {});
  }
  const uint16_t port = server_->Port();
  server_.reset();  // nothing listens there any more
  EXPECT_FALSE(DownloadToFile("http://127.0.0.1:" + std::to_string(port) + "/pkg.zip", target, false));
  EXPECT_FALSE(DownloadToFile("not a url at all", target, false));
  ExpectOnlyFiles(dir_, {});
}

TEST_F(DownloadTest, RedirectsAreFollowedUpToFifteenOverPlainHttpOnly) {
  const std::string target = dir_ + "/pkg.zip";
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/redirect=15/pkg.zip"), target, false));
  EXPECT_EQ(ReadFile(target), body_);
  EXPECT_FALSE(DownloadToFile(server_->Url("fault/redirect=16/pkg.zip"), target, false));
  EXPECT_FALSE(fs::exists(target));
  server_->ResetCounters();
  EXPECT_FALSE(DownloadToFile(server_->Url("fault/https/pkg.zip"), target, false));
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(server_->Requests().size(), 1u);  // the https hop is never attempted
  EXPECT_FALSE(DownloadToFile("https://127.0.0.1:" + std::to_string(server_->Port()) + "/pkg.zip", target, false));
  EXPECT_FALSE(DownloadToFile("ftp://127.0.0.1:" + std::to_string(server_->Port()) + "/pkg.zip", target, false));
}

TEST_F(DownloadTest, NoDataForThreeSecondsFailsAtAnyStage) {
  const std::string target = dir_ + "/pkg.zip";
  for (const std::string path : {"fault/stall=6000,stallat=100000/pkg.zip", "fault/stallhead=6000/pkg.zip"}) {
    WriteFile(target, "old");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DownloadToFile(server_->Url(path), target, false)) << path;
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(2900)) << path;  // not before the time-out
    EXPECT_FALSE(fs::exists(target)) << path;
    ExpectOnlyFiles(dir_, {});
  }
}

TEST_F(DownloadTest, ShorterPausesAndSlowServersAreFine) {
  const std::string target = dir_ + "/pkg.zip";
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/stall=700,stallat=1000/pkg.zip"), target, false));
  EXPECT_EQ(ReadFile(target), body_);
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/stallhead=700/pkg.zip"), target, false));
  EXPECT_EQ(ReadFile(target), body_);
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/nolen/pkg.zip"), target, false));
  EXPECT_EQ(ReadFile(target), body_);
}

TEST_F(DownloadTest, ProgressEventsComeInOrderOnlyWhenAsked) {
  RecordEvents();
  const std::string target = dir_ + "/pkg.zip";
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/redirect=2/pkg.zip"), target, false));
  EXPECT_TRUE(events_.empty());

  EXPECT_TRUE(DownloadToFile(server_->Url("fault/redirect=2,rate=3000000/pkg.zip"), target, true));
  ASSERT_GE(events_.size(), 3u);
  EXPECT_EQ(events_.front(), "begin " + std::to_string(body_.size()));  // once, for the final response only
  EXPECT_EQ(events_.back(), "end");
  EXPECT_EQ(events_[events_.size() - 2], "work " + std::to_string(body_.size()));
  int64_t last = 0;
  for (size_t i = 1; i + 1 < events_.size(); ++i) {
    ASSERT_EQ(events_[i].rfind("work ", 0), 0u) << events_[i];
    const int64_t n = std::stoll(events_[i].substr(5));
    EXPECT_GT(n, last);
    last = n;
  }
}

TEST_F(DownloadTest, ProgressWithoutALengthAndOnFailures) {
  RecordEvents();
  EXPECT_TRUE(DownloadToFile(server_->Url("fault/nolen/KELOPRO.INI"), dir_ + "/a.ini", true));
  EXPECT_EQ(events_, (std::vector<std::string>{"begin 0", "work 23", "end"}));

  events_.clear();
  EXPECT_FALSE(DownloadToFile(server_->Url("fault/drop=5000/pkg.zip"), dir_ + "/b.zip", true));
  ASSERT_GE(events_.size(), 2u);
  EXPECT_EQ(events_.front(), "begin " + std::to_string(body_.size()));
  EXPECT_EQ(events_.back(), "end");

  events_.clear();
  EXPECT_FALSE(DownloadToFile(server_->Url("fault/status=404/pkg.zip"), dir_ + "/c.zip", true));
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "end"),
            std::count_if(events_.begin(), events_.end(), [](const std::string& e) { return e.rfind("begin", 0) == 0; }));
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "end"), 0);
}

TEST_F(DownloadTest, AHandlerMayStartAnotherDownload) {
  // The window's work handler dispatches messages, which may run another single-request download.
  bool nested = false, nestedOk = false;
  SetDownloadProgressHandlers({nullptr,
                               [&](int64_t) {
                                 if (nested) return;
                                 nested = true;
                                 nestedOk = DownloadToFile(server_->Url("KELOPRO.INI"), dir_ + "/nested.ini", true);
                               },
                               nullptr});
  EXPECT_TRUE(DownloadToFile(server_->Url("pkg.zip"), dir_ + "/pkg.zip", true));
  EXPECT_TRUE(nestedOk);
  EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_);
  EXPECT_EQ(ReadFile(dir_ + "/nested.ini"), "[Setup]\r\nLargeVer=1.0\r\n");
}

TEST_F(DownloadTest, AnUnwritableTargetFails) {
  fs::create_directories(dir_ + "/pkg.zip");  // a folder where the file should go
  EXPECT_FALSE(DownloadToFile(server_->Url("pkg.zip"), dir_ + "/pkg.zip", false));
  EXPECT_TRUE(fs::is_directory(dir_ + "/pkg.zip"));
  ExpectOnlyFiles(dir_, {"pkg.zip"});
}

}  // namespace
