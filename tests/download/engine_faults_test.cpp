// Failed runs: probe failures, failing workers, servers that ignore Range, a receive file that
// cannot be made, and abandoning a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/download/download_test_support.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

using EngineFaults = EngineTest;

TEST_F(EngineFaults, ProbeFailuresEndTheRunEarlyWithOneNotice) {
  Serve("pkg.zip", 30001);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"fault/nolen/pkg.zip", "-1"}, {"fault/status=404/pkg.zip", "0"},
      {"fault/https/pkg.zip", "0"}, {"fault/redirect=16/pkg.zip", "0"}};
  int expectedNotices = 0;
  for (const auto& [path, size] : cases) {
    auto job = Start(path, Out("pkg.zip"));
    ASSERT_TRUE(WaitUntil([&] { return Notices() == expectedNotices + 1; })) << path;
    ++expectedNotices;
    EXPECT_EQ(ControllerLines(*job), (Lines{"进入下载分支1：0 字节。", "取得资源原始大小：" + size + " 字节。"}));
    EXPECT_EQ(job->Running.load(), 1) << "a run that failed early keeps Running at 1";
    EXPECT_FALSE(Exists(Out("pkg.zip.rpc")));
    EXPECT_TRUE(std::filesystem::is_directory(out_)) << "the folder is made at construction";
  }
  const auto source = Serve("pkg.zip", 30001);
  auto job = Start("fault/redirect=15/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}

TEST_F(EngineFaults, EachFailingWorkerSendsANoticeAndTheRunWaitsForTheOwner) {
  const auto source = Serve("pkg.zip", 100000);
  // Every GET is cut after 15000 body bytes: both workers fail after one whole block and part of
  // the next, and keep all 15000 bytes.
  auto job = Start("fault/drop=15000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return WorkerLines(*job).size() == 4; }));
  EXPECT_EQ(Notices(), 2);
  EXPECT_EQ(WorkerLines(*job), (Lines{"线程1下载异常.", "线程1完成退出.", "线程2下载异常.", "线程2完成退出."}));
  const auto lines = job->Log.Lines();
  for (const std::string k : {"1", "2"})
    EXPECT_LT(std::find(lines.begin(), lines.end(), "线程" + k + "下载异常."),
              std::find(lines.begin(), lines.end(), "线程" + k + "完成退出."));
  EXPECT_EQ(job->Running.load(), 1) << "the run goes on until the owner cancels";

  job->Cancel();
  ASSERT_TRUE(WaitStopped(*job));
  EXPECT_EQ(StateOf("pkg.zip")->Segments[0].DoneSize, 15000);
  EXPECT_EQ(StateOf("pkg.zip")->Segments[1].DoneSize, 15000);
  auto resumed = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*resumed));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}

TEST_F(EngineFaults, AWorkerEndsWhenItsSegmentIsCompleteWithoutWaitingForTheSurplusByte) {
  // The first segment's request asks for bytes 0-500; the server holds byte 500 back for 4 s
  // (less than the read time-out). The worker has its 500 bytes and must end at once, so the
  // held-back byte is never sent; a worker that waited for it would take it after the pause.
  const auto source = Serve("pkg.zip", 1000);
  auto job = Start("fault/stall=4000,stallat=500/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job) && WaitStopped(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_EQ(GetRanges(), (Lines{"bytes=0-500", "bytes=500-1000"}));
  EXPECT_EQ(server->BodyBytesSent(), 1000u) << "the surplus byte of the first range was fetched";
  EXPECT_EQ(Notices(), 0);
}

TEST_F(EngineFaults, AServerThatIgnoresRangeFailsTheLaterSegmentWithoutCorruptingIt) {
  for (const std::string mode : {"norange", "badrange"}) {
    SCOPED_TRACE(mode);
    const auto source = Serve("pkg.zip", 200000);
    const int before = Notices();
    auto job = Start("fault/" + mode + "/pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitUntil([&] { return WorkerLines(*job).size() == 3; }));
    EXPECT_EQ(WorkerLines(*job), (Lines{"线程1完成退出.", "线程2下载异常.", "线程2完成退出."}));
    EXPECT_EQ(Notices(), before + 1);
    job->Cancel();
    ASSERT_TRUE(WaitStopped(*job));
    EXPECT_EQ(StateOf("pkg.zip")->Segments[0].DoneSize, 100000);
    EXPECT_EQ(StateOf("pkg.zip")->Segments[1].DoneSize, 0);
    const auto partial = ReadFile(Out("pkg.zip.rpc"));
    ASSERT_EQ(partial.size(), 200000u);
    EXPECT_TRUE(std::equal(partial.begin(), partial.begin() + 100000, source.begin()));
    EXPECT_TRUE(std::all_of(partial.begin() + 100000, partial.end(), [](char c) { return c == 0; }))
        << "nothing was written into the second segment";

    auto resumed = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitFinished(*resumed) && WaitStopped(*resumed));
    EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
    std::filesystem::remove(Out("pkg.zip"));
  }
}

TEST_F(EngineFaults, AReceiveFileThatCannotBeCreatedEndsTheRunWithANotice) {
  Serve("pkg.zip", 30001);
  std::filesystem::create_directories(Out("pkg.zip.rpc"));  // a folder where the file should go
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitForLine(*job, "创建接收文件失败."));
  EXPECT_TRUE(WaitUntil([&] { return Notices() == 1; }));
  const auto lines = ControllerLines(*job);
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"开始创建接收文件... ...", "创建接收文件失败."}));
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
}

TEST_F(EngineFaults, AbandoningARunKeepsTheReceiveFileAndWritesNoState) {
  Serve("pkg.zip", 400000);
  auto job = Start("fault/rate=100000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return job->GetPercent() >= 3; }));
  job->Finished = true;
  ASSERT_TRUE(WaitStopped(*job));
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc")));
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")) || Exists(Out("pkg.zip")));
  EXPECT_FALSE(HasLine(*job, "资源接收未完成，任务中止."));

  // The workers were not stopped: they keep the job alive after the owner lets go, and end (with
  // their notices) only when their connections do.
  std::weak_ptr<TDownloadJob> watch = job;
  job.reset();
  EXPECT_FALSE(watch.expired());
  server.reset();
  ASSERT_TRUE(WaitUntil([&] { return watch.expired(); }));
  EXPECT_EQ(Notices(), 2);
}

TEST_F(EngineFaults, ABodyThatStallsBeyondTheReadTimeOutFailsItsWorkerAndKeepsWhatCame) {
  // Both bodies pause for 6 s after 20000 bytes: past the worker's 5000 ms read time-out.
  Serve("pkg.zip", 100000);
  const auto started = std::chrono::steady_clock::now();
  auto job = Start("fault/stall=6000,stallat=20000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return WorkerLines(*job).size() == 4; }));
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(WorkerLines(*job), (Lines{"线程1下载异常.", "线程1完成退出.", "线程2下载异常.", "线程2完成退出."}));
  EXPECT_GE(waited, std::chrono::milliseconds(5000)) << "a worker gave up before the time-out";
  EXPECT_EQ(Notices(), 2);
  job->Cancel();
  ASSERT_TRUE(WaitStopped(*job));
  EXPECT_EQ(StateOf("pkg.zip")->Segments[0].DoneSize, 20000);
  EXPECT_EQ(StateOf("pkg.zip")->Segments[1].DoneSize, 20000);
}
