// Whole runs of the engine against the local test server: fresh downloads and final names.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "download/DownloadLog.h"
#include "tests/download/download_test_support.h"

using namespace download;
using namespace testing_support;

namespace {

class EngineRun : public ::testing::Test, public EngineFixture {};

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace

TEST_F(EngineRun, FreshDownloadIsExactAndLeavesNoResumeFiles) {
  const auto source = Serve("pkg.zip", 300001);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  ASSERT_TRUE(WaitStopped(*job));

  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc")));
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_EQ(job->TotalSize.load(), 300001);
  EXPECT_EQ(job->GetPercent(), 100);
  EXPECT_FALSE(job->CancelRequested.load());
  EXPECT_EQ(notices.Count(), 0);

  // One HEAD, then one GET per segment whose upper bound is the exclusive end.
  const auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "HEAD");
  for (const auto& r : requests)
    EXPECT_EQ(r.userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)");
  EXPECT_EQ(Sorted(GetRanges()), (std::vector<std::string>{"bytes=0-150000", "bytes=150000-300001"}));

  // Controller lines carry the time and come in this order; the workers' lines come after the
  // workers were started, in any order.
  const auto lines = job->Log.Lines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_TRUE(IsTimedLine(lines[0], "进入下载分支1：0 字节。"));
  EXPECT_TRUE(IsTimedLine(lines[1], "取得资源原始大小：300001 字节。"));
  EXPECT_TRUE(IsTimedLine(lines[2], "重新取得资源原始大小：300001 字节。"));
  EXPECT_TRUE(IsTimedLine(lines[3], "开始创建接收文件... ..."));
  EXPECT_TRUE(IsTimedLine(lines[4], "创建接收文件成功."));
  EXPECT_TRUE(IsTimedLine(lines[5], "开始启动线程进行接收... ..."));
  EXPECT_EQ(ControllerLines(*job).back(), "线程启动成功，资源接收中... ...");
  EXPECT_EQ(Sorted(WorkerLines(*job)), (std::vector<std::string>{"线程1完成退出.", "线程2完成退出."}));
}

TEST_F(EngineRun, ManySegmentsAndEmptySegments) {
  const auto big = Serve("ten.bin", 100003, 3);
  auto ten = Start("ten.bin", Out("ten.bin"), 10);
  ASSERT_TRUE(WaitFinished(*ten));
  EXPECT_EQ(ReadFile(Out("ten.bin")), big);
  EXPECT_EQ(GetRanges().size(), 10u);

  // One byte in two segments: the empty first segment gets no worker.
  server->ResetCounters();
  const auto one = Serve("one.bin", 1, 4);
  auto tiny = Start("one.bin", Out("one.bin"), 2);
  ASSERT_TRUE(WaitFinished(*tiny));
  ASSERT_TRUE(WaitStopped(*tiny));
  EXPECT_EQ(ReadFile(Out("one.bin")), one);
  EXPECT_EQ(GetRanges(), (std::vector<std::string>{"bytes=0-1"}));
  EXPECT_TRUE(WaitForLine(*tiny, "线程2完成退出."));
  for (const auto& line : Untimed(*tiny)) EXPECT_NE(line, "线程1完成退出.");
}

TEST_F(EngineRun, AnExistingTargetIsLeftAloneAndTheFirstFreeNumberedNameIsUsed) {
  const auto source = Serve("pkg.zip", 50000);
  std::filesystem::create_directories(out_);
  WriteFile(Out("pkg.zip"), {'o', 'l', 'd'});
  WriteFile(Out("pkg(1).zip"), {'o', 'l', 'd', '1'});
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  EXPECT_EQ(ReadFile(Out("pkg(2).zip")), source);
  EXPECT_EQ(ReadFile(Out("pkg.zip")), (std::vector<char>{'o', 'l', 'd'}));
  EXPECT_EQ(ReadFile(Out("pkg(1).zip")), (std::vector<char>{'o', 'l', 'd', '1'}));

  // Without an extension the counter follows the name directly.
  WriteFile(Out("README"), {'x'});
  auto plain = Start("pkg.zip", Out("README"));
  ASSERT_TRUE(WaitFinished(*plain));
  EXPECT_EQ(ReadFile(Out("README(1)")), source);
  EXPECT_FALSE(Exists(Out("README.rpc")));
}

TEST_F(EngineRun, AWindowsPathTextIsMappedThroughThePrefixAndItsFoldersAreMade) {
  const auto source = Serve("pkg.zip", 20000);
  const std::string prefix = scratch / "prefix";
  std::filesystem::create_directories(prefix + "/dosdevices");
  std::filesystem::create_directories(prefix + "/drive_c");
  std::filesystem::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
  ::setenv("OSTREL_PREFIX", prefix.c_str(), 1);
  auto job = Start("pkg.zip", "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\pkg.zip");
  const bool finished = WaitFinished(*job) && WaitStopped(*job);
  ::unsetenv("OSTREL_PREFIX");
  ASSERT_TRUE(finished);
  EXPECT_EQ(ReadFile(prefix + "/drive_c/Program Files/Ostrel/InstOstrel/Downloads/pkg.zip"), source);
}
