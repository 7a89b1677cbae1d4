// DownloadToFile against the local test server.
#include <chrono>

#include <gtest/gtest.h>

#include "download/CurlTransfer.h"
#include "tests/pubshare/download_fixture.h"

namespace {

TEST_F(DownloadTest, SavesTheBodyCreatingFoldersAndReplacingAnOldFile) {
  WriteFile(dir_ + "/pkg.zip", "old content");
  EXPECT_TRUE(DownloadToFile(server_.Url("pkg.zip"), dir_ + "/pkg.zip", false));
  EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_);
  EXPECT_EQ(Files(), std::vector<std::string>{"pkg.zip"});
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].method, "GET");
  EXPECT_EQ(server_.Requests()[0].userAgent, ostrel::download::kUserAgent);  // as the engine's requests
  EXPECT_EQ(server_.Requests()[0].acceptEncoding, "identity");

  const std::string target = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\KELOPRO.INI";
  EXPECT_TRUE(DownloadToFile("  " + server_.Url("KELOPRO.INI") + " ", target, false));
  EXPECT_EQ(ReadFile(prefix_.path() + "/drive_c/Program Files/Ostrel/InstOstrel/Downloads/KELOPRO.INI"), kIni);
  EXPECT_EQ(ReadIniString("Setup", "LargeVer", target), "1.0");
}

TEST_F(DownloadTest, ABlankUrlChangesNothing) {
  WriteFile(dir_ + "/keep.ini", "keep me");
  EXPECT_FALSE(DownloadToFile("   \t ", dir_ + "/keep.ini", true));
  EXPECT_FALSE(DownloadToFile("", dir_ + "/new/x.ini", false));
  EXPECT_EQ(ReadFile(dir_ + "/keep.ini"), "keep me");
  EXPECT_FALSE(fs::exists(dir_ + "/new"));
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(DownloadTest, EveryFailureLeavesNoFileAtAll) {
  for (const std::string path : {"empty.bin", "fault/empty/pkg.zip", "missing.zip", "fault/status=500/pkg.zip",
                                 "fault/status=302/pkg.zip", "fault/status=204/pkg.zip", "fault/drop=1000/pkg.zip",
                                 "fault/redirect=16/pkg.zip", "fault/https/pkg.zip"}) {
    WriteFile(dir_ + "/pkg.zip", "old");
    EXPECT_FALSE(DownloadToFile(server_.Url(path), dir_ + "/pkg.zip", false)) << path;
    EXPECT_EQ(Files(), std::vector<std::string>{}) << path;
  }
  const std::string port = std::to_string(server_.Port());
  for (const std::string& url : {"https://127.0.0.1:" + port + "/pkg.zip", "ftp://127.0.0.1:" + port + "/pkg.zip",
                                std::string("http://127.0.0.1:1/pkg.zip"), std::string("not a url")})
    EXPECT_FALSE(DownloadToFile(url, dir_ + "/pkg.zip", false)) << url;
  fs::create_directories(dir_ + "/pkg.zip");  // a folder where the file should go
  EXPECT_FALSE(DownloadToFile(server_.Url("pkg.zip"), dir_ + "/pkg.zip", false));
  EXPECT_EQ(Files(), std::vector<std::string>{"pkg.zip"});
}

TEST_F(DownloadTest, FollowsFifteenRedirects) {
  EXPECT_TRUE(DownloadToFile(server_.Url("fault/redirect=15/pkg.zip"), dir_ + "/pkg.zip", false));
  EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_);
}

TEST_F(DownloadTest, NoDataForThreeSecondsFailsShorterPausesDoNot) {
  for (const std::string path : {"fault/stall=6000,stallat=100000/pkg.zip", "fault/stallhead=6000/pkg.zip"}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DownloadToFile(server_.Url(path), dir_ + "/pkg.zip", false)) << path;
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2900)) << path;
    EXPECT_EQ(Files(), std::vector<std::string>{}) << path;
  }
  for (const std::string path : {"fault/stall=700,stallat=1000/pkg.zip", "fault/stallhead=700/pkg.zip",
                                 "fault/nolen/pkg.zip"}) {
    EXPECT_TRUE(DownloadToFile(server_.Url(path), dir_ + "/pkg.zip", false)) << path;
    EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_) << path;
  }
}

TEST_F(DownloadTest, ProgressEventsComeInOrderOnlyWhenAsked) {
  const DownloadProgressHandlers recorder = Recorder();
  EXPECT_TRUE(DownloadToFile(server_.Url("fault/redirect=2/pkg.zip"), dir_ + "/pkg.zip", false, recorder));
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(DownloadToFile(server_.Url("fault/redirect=2,rate=3000000/pkg.zip"), dir_ + "/pkg.zip", true,
                             recorder));
  ASSERT_GE(events_.size(), 3u);
  EXPECT_EQ(events_.front(), "begin " + std::to_string(body_.size()));  // once, for the final response
  EXPECT_EQ(events_[events_.size() - 2], "work " + std::to_string(body_.size()));
  EXPECT_EQ(events_.back(), "end");
  for (size_t i = 1, last = 0; i + 1 < events_.size(); ++i) {
    ASSERT_EQ(events_[i].rfind("work ", 0), 0u) << events_[i];
    EXPECT_GT(std::stoul(events_[i].substr(5)), last);
    last = std::stoul(events_[i].substr(5));
  }

  events_.clear();  // no length given: begin with 0
  EXPECT_TRUE(DownloadToFile(server_.Url("fault/nolen/KELOPRO.INI"), dir_ + "/a.ini", true, recorder));
  EXPECT_EQ(events_, (std::vector<std::string>{"begin 0", "work 23", "end"}));
  events_.clear();  // a broken transfer still ends what it began
  EXPECT_FALSE(DownloadToFile(server_.Url("fault/drop=5000/pkg.zip"), dir_ + "/b.zip", true, recorder));
  EXPECT_EQ(events_.front(), "begin " + std::to_string(body_.size()));
  EXPECT_EQ(events_.back(), "end");
  events_.clear();  // an error status begins nothing
  EXPECT_FALSE(DownloadToFile(server_.Url("fault/status=404/pkg.zip"), dir_ + "/c.zip", true, recorder));
  EXPECT_TRUE(events_.empty());
}

TEST_F(DownloadTest, AHandlerMayRunAnotherDownload) {
  // The window's work handler dispatches messages, which may start another single-request download.
  bool nested = false, nestedOk = false;
  const DownloadProgressHandlers handlers{
      nullptr,
      [&](int64_t) {
        if (nested) return;
        nested = true;
        nestedOk = DownloadToFile(server_.Url("KELOPRO.INI"), dir_ + "/nested.ini", true, Recorder());
      },
      nullptr};
  EXPECT_TRUE(DownloadToFile(server_.Url("pkg.zip"), dir_ + "/pkg.zip", true, handlers));
  EXPECT_TRUE(nestedOk);
  EXPECT_EQ(ReadFile(dir_ + "/pkg.zip"), body_);
  EXPECT_EQ(ReadFile(dir_ + "/nested.ini"), kIni);
}

}  // namespace
