// What an owner can rely on about a job's threads and notices: a detached notifier hears nothing,
// the wait for the threads ends only after the last one, and a program that lets go of a running
// job ends normally.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "tests/download/download_test_support.h"
#include "tests/testkit/host_only.h"

using namespace testing_support;
using namespace std::chrono_literals;

using JobLifetime = EngineTest;

TEST_F(JobLifetime, ADetachedNotifierHearsNothing) {
  Serve("pkg.zip", 100000);
  std::atomic<int> heard{0};
  ostrel::download::NotifierToken token = ostrel::download::MakeNotifier([&heard] { ++heard; });
  // Both workers fail after 2 s; the owner lets go of its notifier before that.
  auto job = TDownloadJob::Create(server->Url("fault/stall=2000,drop=100/pkg.zip"), Out("pkg.zip"), 2,
                                  true, token);
  ASSERT_TRUE(WaitUntil([&] { return server->Requests().size() == 3; }));
  token.reset();
  ASSERT_TRUE(WaitUntil([&] { return WorkerLines(*job).size() == 4; }));
  EXPECT_EQ(heard.load(), 0);
  EXPECT_EQ(job->Failure().kind, ostrel::download::FailureKind::Transfer) << "the reason is kept all the same";
  job->Cancel();
  EXPECT_TRUE(job->WaitForThreads(20s));
}

TEST_F(JobLifetime, TheWaitForThreadsEndsOnlyAfterTheLastOne) {
  Serve("pkg.zip", 100000);
  auto job = Start("fault/rate=50000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return job->GetPercent() >= 5; }));
  EXPECT_EQ(job->LiveThreads(), 3) << "the controller and two workers";
  EXPECT_FALSE(job->WaitForThreads(50ms));
  job->Finished = true;  // abandoned: the workers go on until their segments are complete
  ASSERT_TRUE(job->WaitForThreads(20s));
  EXPECT_EQ(job->LiveThreads(), 0);
  EXPECT_EQ(WorkerLines(*job), (std::vector<std::string>{"线程1完成退出.", "线程2完成退出."}))
      << "every worker had ended when the wait returned";
}

TEST_F(JobLifetime, AProgramThatLetsGoOfARunningJobEndsNormally) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "ThreadSanitizer does not follow a fork of a process with threads";
#endif
  TESTKIT_SKIP_ON_WINDOWS("the program is a fork of this one");
#ifndef _WIN32
  Serve("pkg.zip", 400000);
  const std::string url = server->Url("fault/rate=100000/pkg.zip"), target = Out("pkg.zip");
  const pid_t child = ::fork();
  if (child == 0) {
    // Only the job's own threads run in the child; it ends through exit(), with static
    // destructors, as a program does.
    auto job = TDownloadJob::Create(url, target, 2, true, [] {});
    while (job->GetPercent() < 5) std::this_thread::sleep_for(10ms);
    job->Cancel();
    const bool ended = job->WaitForThreads(20s);
    job.reset();
    std::exit(ended ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the program died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(StateOf("pkg.zip").has_value()) << "the stopped job saved its state before the end";
#endif
}
