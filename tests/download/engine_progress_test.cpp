// What a long run keeps and shows while its workers go: the state saved every few seconds, and
// progress that moves on a slow link although the workers write in large pieces.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "download/DownloadManager.h"
#include "tests/download/download_test_support.h"

using namespace testing_support;

using EngineProgress = EngineTest;

TEST_F(EngineProgress, TheStateIsSavedWhileTheWorkersRunAndCountsOnlyBytesOnTheDisk) {
  // 20000 bytes a second per connection: the transfer takes 10 s, the first save comes after 3 s.
  const auto source = Serve("pkg.zip", 400000);
  FileEvents events;
  auto job = Start("fault/rate=20000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return StateOf("pkg.zip").has_value(); },
                        ostrel::download::kSaveInterval * 3));
  EXPECT_EQ(job->Running.load(), 1);
  EXPECT_FALSE(job->Finished.load() || job->CancelRequested.load());
  const auto saved = StateOf("pkg.zip");
  ASSERT_TRUE(saved.has_value());
  EXPECT_GT(CheckSavedState(*saved, Out("pkg.zip.rpc"), source).kept, 0);
  EXPECT_EQ(ControllerLines(*job).back(), "线程启动成功，资源接收中... ...") << "a save is not a stop";

  job->Cancel();
  ASSERT_TRUE(WaitStopped(*job));
  events.Stop();
  EXPECT_GE(events.Saves(Out("pkg.zip.rpc.cfg")), 2);  // one or more while running, one at the stop
  EXPECT_TRUE(events.EachSaveFollowsASync(Out("pkg.zip.rpc"), Out("pkg.zip.rpc.cfg")));
}

TEST_F(EngineProgress, ProgressMovesSeveralTimesASecondOnASlowLink) {
  // 4000 bytes a second: a whole write buffer would take a minute to fill; the received bytes must
  // still reach the file, and the progress, within a fraction of a second.
  Serve("pkg.zip", 200000);
  auto job = Start("fault/rate=4000/pkg.zip", Out("pkg.zip"), 1);
  ASSERT_TRUE(WaitUntil([&] { return job->ProgressValid.load() && job->ReceivedSize.load() > 0; }));
  std::set<int32_t> seen;
  for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
       std::chrono::steady_clock::now() < until;) {
    if (job->ProgressValid.load()) seen.insert(job->ReceivedSize.load());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GE(seen.size(), 8u) << "about 20 steps were due in 2 s";
  job->Cancel();
  ASSERT_TRUE(WaitStopped(*job));
}
