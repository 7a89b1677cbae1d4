// The job's percentage and limits, and the log's time format.
#include <gtest/gtest.h>

#include "download/DownloadJob.h"
#include "download/DownloadLog.h"

TEST(DownloadJob, PercentIsRoundedDownInExtendedPrecision) {
  auto job = TDownloadJob::Create("http://127.0.0.1:9/x", "/nonexistent/x", 2, false);
  EXPECT_EQ(job->GetPercent(), 0);
  auto percent = [&](int32_t received, int32_t total, bool valid = true) {
    job->TotalSize = total;
    job->ReceivedSize = received;
    job->ProgressValid = valid;
    return job->GetPercent();
  };
  EXPECT_EQ(percent(99, 200), 49);
  EXPECT_EQ(percent(300, 200), 150);        // not limited to 100
  EXPECT_EQ(percent(150, 200, false), 0);   // being recomputed: no news
  EXPECT_EQ(percent(2147483646, 2147483647), 99);
  // 29/100 is 28 in double precision, 29 with a 64-bit mantissa; 53/100 is 52 there.
  EXPECT_EQ(percent(29, 100), 29);
  EXPECT_EQ(percent(53, 100), 52);
}

TEST(DownloadJob, UnstartedJobHoldsItsLimitsAndOnlyRecordsACancel) {
  EXPECT_EQ(TDownloadJob::Create("u", "f", 0, false)->ThreadCount, 1);
  EXPECT_EQ(TDownloadJob::Create("u", "f", 11, false)->ThreadCount, 10);
  auto job = TDownloadJob::Create("u", "f", 7, false);
  EXPECT_EQ(job->ThreadCount, 7);
  job->Cancel();
  EXPECT_TRUE(job->CancelRequested.load());
  EXPECT_EQ(job->Running.load(), 0);
  EXPECT_FALSE(job->Finished.load());
}

TEST(DownloadLog, TimeIsLocalAndZeroPadded) {
  std::tm local{};
  local.tm_year = 2024 - 1900;
  local.tm_mday = 5;
  local.tm_hour = 7;
  local.tm_min = 3;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  EXPECT_EQ(ostrel::download::FormatLogTime(std::mktime(&local)), "2024-01-05 07:03:09");
  local.tm_hour = 23;
  EXPECT_EQ(ostrel::download::FormatLogTime(std::mktime(&local)), "2024-01-05 23:03:09");
}
