// ostrel-fetch as a user runs it: exit codes, the file, resuming after an interruption.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>

#include "tests/download/download_test_support.h"
#include "tests/testkit/child_process.h"
#include "tests/testkit/host_only.h"

using namespace testing_support;

namespace {

// windows_tools_match_linux sends ostrel-fetch.exe its Ctrl+C from outside Wine.
[[maybe_unused]] constexpr char kSignals[] = "signals (Wine carries no Ctrl+C to a child of a program without a console)";

class FetchTool : public EngineTest {
 protected:
  // Starts ostrel-fetch with its stdout and stderr into files.
  std::unique_ptr<testkit::ChildProcess> Spawn(const std::vector<std::string>& args) {
    return std::make_unique<testkit::ChildProcess>(OSTREL_FETCH_EXE, args, root_ + "/stdout.txt",
                                                   root_ + "/stderr.txt");
  }
  int Run(const std::vector<std::string>& args) { return Spawn(args)->Wait(); }
  std::string Stdout() { return ReadFile(root_ + "/stdout.txt"); }
  std::string Stderr() { return ReadFile(root_ + "/stderr.txt"); }
  std::string Output() { return Stdout() + Stderr(); }
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
  [[maybe_unused]] const auto source = Serve("pkg.zip", 400000);
  EXPECT_EQ(Run({server->Url("fault/drop=30000/pkg.zip"), Out("pkg.zip")}), 1);
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));

  TESTKIT_SKIP_ON_WINDOWS(kSignals);
#ifndef _WIN32
  // A terminal that goes away (SIGHUP) stops the download like SIGTERM does.
  for (const int signalNumber : {SIGTERM, SIGHUP}) {
    server->ResetCounters();
    const auto child = Spawn({server->Url("fault/rate=50000/pkg.zip"), Out("pkg.zip")});
    ASSERT_TRUE(WaitUntil([&] { return server->BodyBytesSent() > 60000; }));
    child->Signal(signalNumber);
    EXPECT_EQ(child->Wait(), 130);
    EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));
    EXPECT_FALSE(Exists(Out("pkg.zip")));
  }

  EXPECT_EQ(Run({server->Url("pkg.zip"), Out("pkg.zip")}), 0);
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
#endif
}

TEST_F(FetchTool, AKilledRunResumesFromItsLastSaveAndAsksOnlyForWhatWasNotSaved) {
  // 20000 bytes a second per connection: ten seconds in all, the first save after three.
  const auto source = Serve("pkg.zip", 400000);
  {
    const auto child = Spawn({server->Url("fault/rate=20000/pkg.zip"), Out("pkg.zip")});
    ASSERT_TRUE(WaitUntil([&] { return StateOf("pkg.zip").has_value(); }, std::chrono::seconds(10)));
  }  // killed (SIGKILL, TerminateProcess) as the child goes: nothing is saved on the way out
  const auto saved = StateOf("pkg.zip");
  ASSERT_TRUE(saved.has_value());
  EXPECT_FALSE(Exists(Out("pkg.zip")));
  const SavedPart part = CheckSavedState(*saved, Out("pkg.zip.rpc"), source);
  EXPECT_GT(part.kept, 0);
  // The killed child's connections take paced pieces until the system has closed them (later
  // under Wine): the count starts once it stands still for a quarter of a second.
  uint64_t last = UINT64_MAX;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const uint64_t now = server->BodyBytesSent();
        const bool still = now == last;
        last = now;
        return still;
      },
      std::chrono::seconds(10), std::chrono::milliseconds(250)));

  server->ResetCounters();
  EXPECT_EQ(Run({server->Url("pkg.zip"), Out("pkg.zip")}), 0) << Stderr();
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_EQ(GetRanges(), part.ranges);
  EXPECT_EQ(server->Requests().size(), part.ranges.size()) << "a resume asks for no size";
  // Beyond the missing bytes: the surplus byte of each range, and a paced piece of each killed
  // connection that the server may still count.
  EXPECT_LE(server->BodyBytesSent(), static_cast<uint64_t>(part.missing) + 2 * (1 + 400));
}

TEST_F(FetchTool, StdoutCarriesOnlyTheLogAndTheSummaryNamesTheFileWritten) {
  const auto source = Serve("pkg.zip", 200000);
  std::filesystem::create_directories(out_);
  WriteFile(Out("pkg.zip"), {'o', 'l', 'd'});
  EXPECT_EQ(Run({"--log", server->Url("pkg.zip"), Out("pkg.zip")}), 0);
  EXPECT_EQ(ReadFile(Out("pkg(1).zip")), source);
  EXPECT_NE(Stderr().find(Out("pkg(1).zip")), std::string::npos) << Stderr();
  std::istringstream lines(Stdout());
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count)
    EXPECT_TRUE(line.rfind("[", 0) == 0 || line.rfind("线程", 0) == 0) << "not a log line: " << line;
  EXPECT_GE(count, 8);
}

TEST_F(FetchTool, SaysWhyItFailed) {
  Serve("pkg.zip", 30000);
  const struct {
    std::string path, says;
    bool resumable;  // a second run may get further: it says so
  } cases[] = {
      {"fault/status=404/pkg.zip", "HTTP 404 for ", false},
      {"fault/nolen/pkg.zip", "no usable size", false},
      {"fault/gzip/pkg.zip", "encoded body: gzip", false},
      {"fault/status=503/pkg.zip", "HTTP 503 for ", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run({server->Url(c.path), Out("pkg.zip")}), 1) << c.path;
    EXPECT_NE(Stderr().find("ostrel-fetch: "), std::string::npos);
    EXPECT_NE(Stderr().find(c.says), std::string::npos) << Stderr();
    EXPECT_NE(Stderr().find(server->Url(c.path)), std::string::npos) << Stderr();
    EXPECT_EQ(Stderr().find("run the same command again") != std::string::npos, c.resumable) << Stderr();
  }
}

TEST_F(FetchTool, AServerThatIgnoresRangeIsFetchedAsOneStream) {
  const auto source = Serve("pkg.zip", 300000);
  EXPECT_EQ(Run({"-n", "3", server->Url("fault/norange/pkg.zip"), Out("pkg.zip")}), 0) << Stderr();
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_NE(Stderr().find("single stream"), std::string::npos) << Stderr();
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc")) || Exists(Out("pkg.zip.rpc.cfg")));
}

TEST_F(FetchTool, AnInterruptOnASlowLinkSavesWhatArrivedBeforeItExits) {
  TESTKIT_SKIP_ON_WINDOWS(kSignals);
#ifndef _WIN32
  Serve("pkg.zip", 200000);
  const auto child = Spawn({server->Url("fault/rate=1500/pkg.zip"), Out("pkg.zip")});
  ASSERT_TRUE(WaitUntil([&] { return server->BodyBytesSent() >= 3000; }));
  child->Signal(SIGINT);
  EXPECT_EQ(child->Wait(), 130);
  const auto state = StateOf("pkg.zip");
  ASSERT_TRUE(state.has_value()) << Stderr();
  EXPECT_GT(state->Segments[0].DoneSize + state->Segments[1].DoneSize, 0);
#endif
}
