// ostrel-fetch as a user runs it: exit codes, the file, resuming after an interruption.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/download/download_test_support.h"

using namespace testing_support;

namespace {

class FetchTool : public EngineTest {
 protected:
  // Starts ostrel-fetch with its output into a file. The child only redirects and executes.
  pid_t Spawn(const std::vector<std::string>& args) {
    const std::string output = root_ + "/output.txt";
    std::vector<char*> argv{const_cast<char*>(OSTREL_FETCH_EXE)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 1);
      ::dup2(fd, 2);
      ::execv(OSTREL_FETCH_EXE, argv.data());
      ::_exit(127);
    }
    return pid;
  }
  static int ExitCode(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Run(const std::vector<std::string>& args) { return ExitCode(Spawn(args)); }
  std::string Output() {
    const auto bytes = ReadFile(root_ + "/output.txt");
    return std::string(bytes.begin(), bytes.end());
  }
};

}  // namespace

TEST_F(FetchTool, BadArgumentsAreAUsageError) {
  const std::string url = server->Url("pkg.zip"), file = Out("pkg.zip");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {url}, {url, file, "extra"}, {"-n", "0", url, file}, {"-n", "11", url, file},
           {"-n", "two", url, file}, {"-n"}, {"--bogus", url, file},
           // A target that names no file: nothing could be put in place under it.
           {url, ""}, {url, out_ + "/"}, {url, "dir\\"}, {"", file}}) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_NE(Output().find("usage: ostrel-fetch"), std::string::npos);
  }
  EXPECT_TRUE(server->Requests().empty());
}

TEST_F(FetchTool, DownloadsAndPrintsTheLogOnRequest) {
  const auto source = Serve("pkg.zip", 200000);
  EXPECT_EQ(Run({"-n", "3", "--log", server->Url("pkg.zip"), Out("pkg.zip")}), 0);
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_NE(Output().find("线程3完成退出."), std::string::npos);
  EXPECT_EQ(GetRanges().size(), 3u);
}

TEST_F(FetchTool, FailureAndSignalKeepTheStateAndTheSameCommandResumes) {
  const auto source = Serve("pkg.zip", 400000);
  EXPECT_EQ(Run({server->Url("fault/drop=30000/pkg.zip"), Out("pkg.zip")}), 1);
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));

  // A terminal that goes away (SIGHUP) stops the download like SIGTERM does.
  for (const int signalNumber : {SIGTERM, SIGHUP}) {
    server->ResetCounters();
    const pid_t pid = Spawn({server->Url("fault/rate=50000/pkg.zip"), Out("pkg.zip")});
    ASSERT_TRUE(WaitUntil([&] { return server->BodyBytesSent() > 60000; }));
    ::kill(pid, signalNumber);
    EXPECT_EQ(ExitCode(pid), 130);
    EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));
    EXPECT_FALSE(Exists(Out("pkg.zip")));
  }

  EXPECT_EQ(Run({server->Url("pkg.zip"), Out("pkg.zip")}), 0);
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}
