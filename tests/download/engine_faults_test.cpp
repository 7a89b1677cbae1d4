// Failures of a run: probe failures, failing workers, servers that ignore Range, a receive file
// that cannot be made, time-outs, and abandoning a run.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "download/StateFile.h"
#include "tests/download/download_test_support.h"

using namespace download;
using namespace testing_support;

namespace {

class EngineFaults : public ::testing::Test, public EngineFixture {
 protected:
  // Cancels a run whose workers have all ended and returns its saved state.
  std::optional<DownloadState> CancelAndReadState(TDownloadJob& job, const std::string& target) {
    job.Cancel();
    if (!WaitStopped(job)) return std::nullopt;
    return ReadStateFile(Out(target + ".rpc.cfg"));
  }
};

int Count(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

}  // namespace

TEST_F(EngineFaults, ProbeFailuresEndTheRunEarlyWithOneNotice) {
  Serve("pkg.zip", 30001);
  struct Case {
    std::string path;
    std::string sizeLine;
  };
  const std::vector<Case> cases = {
      {"fault/nolen/pkg.zip", "取得资源原始大小：-1 字节。"},
      {"fault/status=404/pkg.zip", "取得资源原始大小：0 字节。"},
      {"fault/https/pkg.zip", "取得资源原始大小：0 字节。"},
      {"fault/redirect=16/pkg.zip", "取得资源原始大小：0 字节。"},
  };
  int expectedNotices = 0;
  for (const Case& c : cases) {
    auto job = Start(c.path, Out("pkg.zip"));
    ASSERT_TRUE(WaitUntil([&] { return notices.Count() == expectedNotices + 1; })) << c.path;
    ++expectedNotices;
    EXPECT_EQ(Untimed(*job), (std::vector<std::string>{"进入下载分支1：0 字节。", c.sizeLine})) << c.path;
    EXPECT_EQ(job->Running.load(), 1) << "a run that failed early keeps Running at 1";
    EXPECT_FALSE(Exists(Out("pkg.zip.rpc")));
    EXPECT_TRUE(std::filesystem::is_directory(out_)) << "the folder is made at construction";
  }
}

TEST_F(EngineFaults, ARedirectChainOfFifteenIsFollowedByProbeAndWorkers) {
  const auto source = Serve("pkg.zip", 30001);
  auto job = Start("fault/redirect=15/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}

TEST_F(EngineFaults, EachFailingWorkerSendsANoticeAndTheRunWaitsForTheOwner) {
  const auto source = Serve("pkg.zip", 100000);
  // Every GET is cut after 15000 body bytes: both workers fail after one whole block.
  auto job = Start("fault/drop=15000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return notices.Count() == 2; }));
  ASSERT_TRUE(WaitForLine(*job, "线程1完成退出."));
  ASSERT_TRUE(WaitForLine(*job, "线程2完成退出."));
  const auto lines = Untimed(*job);
  EXPECT_EQ(Count(lines, "线程1下载异常."), 1);
  EXPECT_EQ(Count(lines, "线程2下载异常."), 1);
  // Each worker logs its failure before its end.
  for (const std::string k : {"1", "2"}) {
    const auto failed = std::find(lines.begin(), lines.end(), "线程" + k + "下载异常.");
    const auto ended = std::find(lines.begin(), lines.end(), "线程" + k + "完成退出.");
    EXPECT_LT(failed, ended);
  }
  EXPECT_EQ(job->Running.load(), 1) << "the run goes on until the owner cancels";

  const auto saved = CancelAndReadState(*job, "pkg.zip");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->Segments[0].DoneSize, 10240);
  EXPECT_EQ(saved->Segments[1].DoneSize, 10240);
  EXPECT_EQ(Untimed(*job).back(), "资源接收未完成，任务中止.");

  auto resumed = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*resumed));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}

TEST_F(EngineFaults, AServerThatIgnoresRangeFailsTheLaterSegmentWithoutCorruptingIt) {
  for (const std::string mode : {"norange", "badrange"}) {
    SCOPED_TRACE(mode);
    const auto source = Serve("pkg.zip", 200000);
    const int before = notices.Count();
    auto job = Start("fault/" + mode + "/pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitForLine(*job, "线程2下载异常."));
    ASSERT_TRUE(WaitForLine(*job, "线程1完成退出."));
    ASSERT_TRUE(WaitForLine(*job, "线程2完成退出."));
    EXPECT_EQ(notices.Count(), before + 1);
    EXPECT_EQ(Count(Untimed(*job), "线程1下载异常."), 0) << "the segment at 0 is served correctly";

    const auto saved = CancelAndReadState(*job, "pkg.zip");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->Segments[0].DoneSize, 100000);
    EXPECT_EQ(saved->Segments[1].DoneSize, 0);
    const auto partial = ReadFile(Out("pkg.zip.rpc"));
    ASSERT_EQ(partial.size(), 200000u);
    EXPECT_TRUE(std::equal(partial.begin(), partial.begin() + 100000, source.begin()));
    EXPECT_TRUE(std::all_of(partial.begin() + 100000, partial.end(), [](char c) { return c == 0; }))
        << "nothing was written into the second segment";

    auto resumed = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitFinished(*resumed));
    ASSERT_TRUE(WaitStopped(*resumed));
    EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
    std::filesystem::remove(Out("pkg.zip"));
  }
}

TEST_F(EngineFaults, AReceiveFileThatCannotBeCreatedEndsTheRunWithANotice) {
  Serve("pkg.zip", 30001);
  std::filesystem::create_directories(Out("pkg.zip.rpc"));  // a folder where the file should go
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitForLine(*job, "创建接收文件失败."));
  EXPECT_TRUE(WaitUntil([&] { return notices.Count() == 1; }));
  const auto lines = Untimed(*job);
  EXPECT_EQ(lines.back(), "创建接收文件失败.");
  EXPECT_EQ(lines[lines.size() - 2], "开始创建接收文件... ...");
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
}

TEST_F(EngineFaults, AWorkerWithoutDataForFiveSecondsFails) {
  Serve("pkg.zip", 50000);
  auto job = Start("fault/stall=9000,stallat=20480/pkg.zip", Out("pkg.zip"), 1);
  ASSERT_TRUE(WaitForLine(*job, "线程1下载异常."));
  EXPECT_EQ(notices.Count(), 1);
  const auto saved = CancelAndReadState(*job, "pkg.zip");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->Segments[0].DoneSize, 20480) << "the blocks before the stall were kept";
}

TEST_F(EngineFaults, AbandoningARunKeepsTheReceiveFileAndWritesNoState) {
  Serve("pkg.zip", 400000);
  auto job = Start("fault/rate=100000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return job->GetPercent() >= 3; }));
  job->Finished = true;
  ASSERT_TRUE(WaitStopped(*job));
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc")));
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_FALSE(Exists(Out("pkg.zip")));
  EXPECT_EQ(Count(Untimed(*job), "资源接收未完成，任务中止."), 0);

  // The workers were not stopped; they go on until their connections end, and may outlive both
  // the owner's pointer and the server.
  std::weak_ptr<TDownloadJob> watch = job;
  job.reset();
  EXPECT_FALSE(watch.expired()) << "the running workers keep the job alive";
  server.reset();
  ASSERT_TRUE(WaitUntil([&] { return watch.expired(); }));
  EXPECT_EQ(notices.Count(), 2);
}
