// Whole runs against the local test server: fresh downloads, final names, resuming.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/testkit/temp_prefix.h"
#include "tests/download/download_test_support.h"
#include "tests/testkit/host_only.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

using EngineRun = EngineTest;

TEST_F(EngineRun, FreshDownloadIsExactAndLeavesNoResumeFiles) {
  const auto source = Serve("pkg.zip", 300001);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));

  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc")) || Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_EQ(job->GetPercent(), 100);
  EXPECT_FALSE(job->CancelRequested.load());
  EXPECT_EQ(Notices(), 0);
  // A HEAD, then one GET per segment whose upper bound is the exclusive end.
  const auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "HEAD");
  for (const auto& r : requests)
    EXPECT_EQ(r.userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0; Maxthon)");
  EXPECT_EQ(GetRanges(), (Lines{"bytes=0-150000", "bytes=150000-300001"}));
  EXPECT_EQ(ControllerLines(*job),
            (Lines{"进入下载分支1：0 字节。", "取得资源原始大小：300001 字节。", "重新取得资源原始大小：300001 字节。",
                   "开始创建接收文件... ...", "创建接收文件成功.", "开始启动线程进行接收... ...",
                   "线程启动成功，资源接收中... ..."}));
  EXPECT_EQ(WorkerLines(*job), (Lines{"线程1完成退出.", "线程2完成退出."}));
  EXPECT_EQ(job->Log.Lines().size(), 9u);
}

TEST_F(EngineRun, TenSegmentsAndAnEmptyFirstSegment) {
  const auto big = Serve("ten.bin", 100003);
  auto ten = Start("ten.bin", Out("ten.bin"), 10);
  ASSERT_TRUE(WaitFinished(*ten));
  EXPECT_EQ(ReadFile(Out("ten.bin")), big);
  EXPECT_EQ(GetRanges().size(), 10u);

  // One byte in two segments: the empty first segment gets no worker.
  server->ResetCounters();
  const auto one = Serve("one.bin", 1);
  auto tiny = Start("one.bin", Out("one.bin"));
  ASSERT_TRUE(WaitFinished(*tiny) && WaitStopped(*tiny));
  EXPECT_EQ(ReadFile(Out("one.bin")), one);
  EXPECT_EQ(GetRanges(), (Lines{"bytes=0-1"}));
  EXPECT_EQ(WorkerLines(*tiny), (Lines{"线程2完成退出."}));
}

TEST_F(EngineRun, AnExistingTargetIsLeftAloneForTheFirstFreeNumberedName) {
  const auto source = Serve("pkg.zip", 50000);
  std::filesystem::create_directories(out_);
  WriteFile(Out("pkg.zip"), {'a'});
  WriteFile(Out("pkg(1).zip"), {'b'});
  WriteFile(Out("README"), {'c'});
  auto job = Start("pkg.zip", Out("pkg.zip"));
  auto plain = Start("pkg.zip", Out("README"));
  ASSERT_TRUE(WaitFinished(*job) && WaitFinished(*plain));
  EXPECT_EQ(ReadFile(Out("pkg(2).zip")), source);
  EXPECT_EQ(ReadFile(Out("README(1)")), source);
  EXPECT_EQ(ReadFile(Out("pkg.zip")), std::string{'a'});
  EXPECT_EQ(ReadFile(Out("pkg(1).zip")), std::string{'b'});
}

TEST_F(EngineRun, AWindowsPathTextGoesThroughThePrefixAndItsFoldersAreMade) {
  TESTKIT_SKIP_ON_WINDOWS("the prefix");
  const auto source = Serve("pkg.zip", 20000);
  const testkit::TempPrefix prefix;
  const std::filesystem::path driveC = prefix.driveC();
  auto job = Start("pkg.zip", "C:\\Program Files\\Ostrel\\Downloads\\pkg.zip");
  ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));
  EXPECT_EQ(ReadFile(driveC / "Program Files/Ostrel/Downloads/pkg.zip"), source);
}

TEST_F(EngineRun, CancelSavesTheStateAndANewJobFetchesOnlyWhatIsMissing) {
  const int32_t total = 400000;
  const auto source = Serve("pkg.zip", total);
  auto first = Start("fault/rate=100000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return first->GetPercent() >= 5; }));
  first->Cancel();
  ASSERT_TRUE(WaitStopped(*first));
  EXPECT_FALSE(first->CancelRequested.load() || first->Finished.load() || Exists(Out("pkg.zip")));
  EXPECT_EQ(Notices(), 0);
  // Both workers were told to stop and ended without failing; then the state was saved.
  EXPECT_EQ(WorkerLines(*first), (Lines{"线程1完成退出.", "线程2完成退出."}));
  EXPECT_EQ(ControllerLines(*first).back(), "资源接收未完成，任务中止.");

  const auto saved = StateOf("pkg.zip");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(ReadFile(Out("pkg.zip.rpc.cfg")).size(), 32u);
  const SavedPart part = CheckSavedState(*saved, Out("pkg.zip.rpc"), source);

  server->ResetCounters();
  auto second = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*second));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_EQ(ControllerLines(*second), (Lines{"进入下载分支0：0 字节。", "取得资源原始大小：400000 字节。",
                                              "开始启动线程进行接收... ...", "线程启动成功，资源接收中... ..."}));
  // No probe, each request starts where its segment stopped, and nothing kept is fetched again
  // (beyond the surplus byte a range asks for, and a piece or two that a paced connection of the
  // first job may still count as it closes).
  EXPECT_EQ(GetRanges(), part.ranges);
  EXPECT_EQ(server->Requests().size(), part.ranges.size());
  const uint64_t missing = static_cast<uint64_t>(part.missing), slack = 1 + 2 * 2000;
  ASSERT_GT(static_cast<uint64_t>(part.kept), slack);
  EXPECT_GE(server->BodyBytesSent(), missing);
  EXPECT_LE(server->BodyBytesSent(), missing + slack);
}

TEST_F(EngineRun, AResumeWithEverySegmentCompleteOnlyPutsTheFileInPlace) {
  const auto source = Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 15000, 15001));
  WriteFile(Out("pkg.zip.rpc"), source);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc")) || Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_TRUE(server->Requests().empty());
  EXPECT_TRUE(WorkerLines(*job).empty());
}

TEST_F(EngineRun, AMissingOrEmptyReceiveFileStopsEveryRunEarly) {
  Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 10240, 0));
  const Lines head = {"进入下载分支0：0 字节。", "取得资源原始大小：30001 字节。"};
  for (int run = 1; run <= 3; ++run) {
    if (run == 3) WriteFile(Out("pkg.zip.rpc"), {});
    const std::string last = run == 3 ? "接收文件大小<=0，退出." : "接收文件不存在，退出.";
    auto job = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitForLine(*job, last));
    EXPECT_TRUE(WaitUntil([&] { return Notices() == run; }));
    Lines expected = head;
    expected.push_back(last);
    EXPECT_EQ(ControllerLines(*job), expected);
    EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));
    // The run ended early: Running stays 1 and a cancel changes nothing else.
    job->Cancel();
    EXPECT_EQ(job->Running.load(), 1);
  }
  EXPECT_TRUE(server->Requests().empty());
}

TEST_F(EngineRun, AStateFileThatDoesNotDescribeADownloadIsTreatedAsAbsent) {
  const auto source = Serve("pkg.zip", 30001);
  auto beyond = ostrel::download::EncodeState(Halves(30001, 0, 0));
  beyond[12] = 0x7f;  // first segment ends far beyond the size
  for (const std::string& bad : {std::string{1, 2, 3}, std::string(32, 0),
                                       std::string(beyond.begin(), beyond.end())}) {
    std::filesystem::create_directories(out_);
    WriteFile(Out("pkg.zip.rpc.cfg"), bad);
    WriteFile(Out("pkg.zip.rpc"), std::string(100, 'x'));
    auto job = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));
    EXPECT_EQ(ControllerLines(*job).front(), "进入下载分支1：0 字节。");
    EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
    EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
    std::filesystem::remove(Out("pkg.zip"));
  }
}
