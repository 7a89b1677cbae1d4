// The job's percentage and flags, and the log's lines.
#include <gtest/gtest.h>

#include <thread>

#include "download/DownloadJob.h"
#include "download/DownloadLog.h"

using namespace download;

namespace {

int32_t Percent(TDownloadJob& job, int32_t received, int32_t total, bool valid = true) {
  job.TotalSize = total;
  job.ReceivedSize = received;
  job.ProgressValid = valid;
  return job.GetPercent();
}

}  // namespace

TEST(DownloadJob, PercentIsRoundedDownInExtendedPrecision) {
  auto job = TDownloadJob::Create("http://127.0.0.1:9/x", "/nonexistent/x", 2, false);
  EXPECT_EQ(job->GetPercent(), 0);
  EXPECT_EQ(job->Running.load(), 0);

  EXPECT_EQ(Percent(*job, 99, 200), 49);
  EXPECT_EQ(Percent(*job, 200, 200), 100);
  EXPECT_EQ(Percent(*job, 300, 200), 150);  // not limited to 100
  EXPECT_EQ(Percent(*job, 150, 200, false), 0);  // being recomputed: no news
  EXPECT_EQ(Percent(*job, 2147483646, 2147483647), 99);
  // 29/100 is 28 in double precision, 29 with a 64-bit mantissa; 53/100 is 52 there.
  EXPECT_EQ(Percent(*job, 29, 100), 29);
  EXPECT_EQ(Percent(*job, 53, 100), 52);
}

TEST(DownloadJob, ThreadCountIsHeldBetweenOneAndTen) {
  EXPECT_EQ(TDownloadJob::Create("u", "f", 0, false)->ThreadCount, 1);
  EXPECT_EQ(TDownloadJob::Create("u", "f", 11, false)->ThreadCount, 10);
  EXPECT_EQ(TDownloadJob::Create("u", "f", -3, false)->ThreadCount, 1);
  EXPECT_EQ(TDownloadJob::Create("u", "f", 7, false)->ThreadCount, 7);
}

TEST(DownloadJob, CancelOnlyRaisesTheRequest) {
  auto job = TDownloadJob::Create("u", "f", 2, false);
  job->Cancel();
  EXPECT_TRUE(job->CancelRequested.load());
  EXPECT_EQ(job->Running.load(), 0);
  EXPECT_FALSE(job->Finished.load());
}

TEST(DownloadLog, TimeIsLocalZeroPadded) {
  std::tm local{};
  local.tm_year = 2024 - 1900;
  local.tm_mon = 0;
  local.tm_mday = 5;
  local.tm_hour = 7;
  local.tm_min = 3;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  EXPECT_EQ(FormatLogTime(std::mktime(&local)), "2024-01-05 07:03:09");
  local.tm_hour = 23;
  EXPECT_EQ(FormatLogTime(std::mktime(&local)), "2024-01-05 23:03:09");
}

TEST(DownloadLog, TextsAreExact) {
  EXPECT_EQ(logtext::EnterResumeBranch(0), "进入下载分支0：0 字节。");
  EXPECT_EQ(logtext::EnterFreshBranch(0), "进入下载分支1：0 字节。");
  EXPECT_EQ(logtext::GotSize(-1), "取得资源原始大小：-1 字节。");
  EXPECT_EQ(logtext::GotSizeAgain(1001), "重新取得资源原始大小：1001 字节。");
  EXPECT_EQ(logtext::WorkerFailed(2), "线程2下载异常.");
  EXPECT_EQ(logtext::WorkerEnded(10), "线程10完成退出.");
  const std::string line = ControllerLine(logtext::kRunStopped);
  ASSERT_EQ(line.size(), 22 + std::string("资源接收未完成，任务中止.").size());
  EXPECT_EQ(line[0], '[');
  EXPECT_EQ(line.substr(20, 2), "] ");
}

TEST(DownloadLog, AppendsFromManyThreadsKeepWholeLines) {
  TDownloadLog log;
  log.Append("old");
  log.Clear();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&log, t] {
      for (int i = 0; i < 500; ++i) log.Append("line " + std::to_string(t) + "/" + std::to_string(i));
    });
  for (auto& th : threads) th.join();
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2000u);
  for (const auto& l : lines) EXPECT_EQ(l.rfind("line ", 0), 0u);
}
