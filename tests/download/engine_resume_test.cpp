// Stopping a run and resuming it with a new job: the state file and what is fetched again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "download/StateFile.h"
#include "tests/download/download_test_support.h"

using namespace download;
using namespace testing_support;

namespace {

class EngineResume : public ::testing::Test, public EngineFixture {
 protected:
  void WriteState(const std::string& target, const DownloadState& state) {
    std::filesystem::create_directories(out_);
    const auto bytes = EncodeState(state);
    WriteFile(Out(target + ".rpc.cfg"), std::vector<char>(bytes.begin(), bytes.end()));
  }
};

DownloadState Halves(int32_t total, int32_t done1, int32_t done2) {
  DownloadState s;
  s.TotalSize = total;
  s.SegmentCount = 2;
  s.Segments[0] = {0, total / 2, done1};
  s.Segments[1] = {total / 2, total, done2};
  return s;
}

}  // namespace

TEST_F(EngineResume, CancelSavesTheStateAndANewJobFetchesOnlyWhatIsMissing) {
  const int32_t total = 400000;
  const auto source = Serve("pkg.zip", total);
  auto first = Start("fault/rate=100000/pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitUntil([&] { return first->GetPercent() >= 5; }));
  first->Cancel();
  ASSERT_TRUE(WaitStopped(*first));
  EXPECT_FALSE(first->CancelRequested.load());
  EXPECT_FALSE(first->Finished.load());
  EXPECT_EQ(notices.Count(), 0);
  EXPECT_FALSE(Exists(Out("pkg.zip")));

  // Both workers were told to stop and ended without failing; then the state was saved.
  const auto lines = Untimed(*first);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.back(), "资源接收未完成，任务中止.");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "线程1完成退出."), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "线程2完成退出."), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "线程1下载异常."), 0);

  const auto saved = ReadStateFile(Out("pkg.zip.rpc.cfg"));
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(ReadFile(Out("pkg.zip.rpc.cfg")).size(), 32u);
  EXPECT_EQ(saved->TotalSize, total);
  EXPECT_EQ(saved->Segments[0].EndPos, total / 2);
  const std::vector<char> partial = ReadFile(Out("pkg.zip.rpc"));
  ASSERT_EQ(partial.size(), static_cast<size_t>(total));
  int64_t saved_bytes = 0;
  for (int k = 0; k < 2; ++k) {
    const SegmentRecord& s = saved->Segments[k];
    EXPECT_TRUE(s.DoneSize % 10240 == 0 || s.StartPos + s.DoneSize == s.EndPos);
    EXPECT_TRUE(std::equal(partial.begin() + s.StartPos, partial.begin() + s.StartPos + s.DoneSize,
                           source.begin() + s.StartPos))
        << "DoneSize counts only bytes that are in the file";
    saved_bytes += s.DoneSize;
  }
  EXPECT_GT(saved_bytes, 0);

  server->ResetCounters();
  auto second = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*second));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));

  // No probe; each request starts where its segment stopped; nothing saved is fetched again
  // (beyond the one surplus byte a segment's range asks for).
  std::vector<std::string> expected;
  int incomplete = 0;
  for (int k = 0; k < 2; ++k) {
    const SegmentRecord& s = saved->Segments[k];
    if (s.StartPos + s.DoneSize < s.EndPos) {
      expected.push_back("bytes=" + std::to_string(s.StartPos + s.DoneSize) + "-" + std::to_string(s.EndPos));
      ++incomplete;
    }
  }
  auto ranges = GetRanges();
  std::sort(ranges.begin(), ranges.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ranges, expected);
  EXPECT_EQ(server->Requests().size(), static_cast<size_t>(incomplete));
  // Slack: a paced connection of the first job may still count a piece or two as it closes.
  const uint64_t missing = static_cast<uint64_t>(total - saved_bytes);
  const uint64_t slack = 2 * (100000 / 50);
  ASSERT_GT(static_cast<uint64_t>(saved_bytes), slack + 1);
  EXPECT_GE(server->BodyBytesSent(), missing);
  EXPECT_LE(server->BodyBytesSent(), missing + 1 + slack);

  EXPECT_EQ(ControllerLines(*second),
            (std::vector<std::string>{"进入下载分支0：0 字节。", "取得资源原始大小：400000 字节。",
                                      "开始启动线程进行接收... ...", "线程启动成功，资源接收中... ..."}));
}

TEST_F(EngineResume, AllSegmentsCompleteOnlyPutsTheFileInPlace) {
  const auto source = Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 15000, 15001));
  WriteFile(Out("pkg.zip.rpc"), source);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  ASSERT_TRUE(WaitStopped(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc")));
  EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
  EXPECT_TRUE(server->Requests().empty());
  EXPECT_EQ(Untimed(*job), (std::vector<std::string>{"进入下载分支0：0 字节。", "取得资源原始大小：30001 字节。",
                                                     "开始启动线程进行接收... ...",
                                                     "线程启动成功，资源接收中... ..."}));
}

TEST_F(EngineResume, AStateFileWithoutItsReceiveFileStopsEveryRun) {
  Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 10240, 0));
  for (int run = 1; run <= 2; ++run) {
    auto job = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitForLine(*job, "接收文件不存在，退出."));
    EXPECT_TRUE(WaitUntil([&] { return notices.Count() == run; }));
    EXPECT_EQ(Untimed(*job), (std::vector<std::string>{"进入下载分支0：0 字节。", "取得资源原始大小：30001 字节。",
                                                       "接收文件不存在，退出."}));
    EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));
    // The run ended early: Running stays 1 and a cancel changes nothing else.
    job->Cancel();
    EXPECT_EQ(job->Running.load(), 1);
    EXPECT_TRUE(job->CancelRequested.load());
  }
  EXPECT_TRUE(server->Requests().empty());
}

TEST_F(EngineResume, AnEmptyReceiveFileStopsTheRun) {
  Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 0, 0));
  WriteFile(Out("pkg.zip.rpc"), {});
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitForLine(*job, "接收文件大小<=0，退出."));
  EXPECT_TRUE(WaitUntil([&] { return notices.Count() == 1; }));
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc")));
  EXPECT_TRUE(Exists(Out("pkg.zip.rpc.cfg")));
}

TEST_F(EngineResume, AStateFileThatDoesNotDescribeADownloadIsTreatedAsAbsent) {
  const auto source = Serve("pkg.zip", 30001);
  std::filesystem::create_directories(out_);
  const std::vector<std::vector<char>> badStates = {
      {1, 2, 3},                                       // short
      std::vector<char>(32, 0),                        // zero size, zero count
      [] {                                             // segments beyond the size
        auto b = EncodeState(Halves(30001, 0, 0));
        b[12] = 0x7f;
        return std::vector<char>(b.begin(), b.end());
      }(),
  };
  for (const auto& bad : badStates) {
    WriteFile(Out("pkg.zip.rpc.cfg"), bad);
    WriteFile(Out("pkg.zip.rpc"), std::vector<char>(100, 'x'));
    auto job = Start("pkg.zip", Out("pkg.zip"));
    ASSERT_TRUE(WaitFinished(*job));
    ASSERT_TRUE(WaitStopped(*job));
    EXPECT_EQ(Untimed(*job).front(), "进入下载分支1：0 字节。");
    EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
    EXPECT_FALSE(Exists(Out("pkg.zip.rpc.cfg")));
    std::filesystem::remove(Out("pkg.zip"));
  }
}

TEST_F(EngineResume, AReceiveFileOfAnotherLengthIsBroughtToTheResourceSize) {
  const auto source = Serve("pkg.zip", 30001);
  WriteState("pkg.zip", Halves(30001, 15000, 15001));
  std::vector<char> longer = source;
  longer.resize(40000, 'j');
  WriteFile(Out("pkg.zip.rpc"), longer);
  auto job = Start("pkg.zip", Out("pkg.zip"));
  ASSERT_TRUE(WaitFinished(*job));
  EXPECT_EQ(ReadFile(Out("pkg.zip")), source);
}
