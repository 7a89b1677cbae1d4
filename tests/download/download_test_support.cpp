#include "tests/download/download_test_support.h"

#include <algorithm>
#include <filesystem>
#include <regex>

#include "tests/testkit/host_only.h"

namespace testing_support {

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(testkit::Utf8Path(path), ec);
}

std::vector<std::string> ControllerLines(const TDownloadJob& job) {
  static const std::regex prefix(R"(^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )");
  std::vector<std::string> lines;
  for (const std::string& line : job.Log.Lines())
    if (std::regex_search(line, prefix)) lines.push_back(line.substr(22));
  return lines;
}

std::vector<std::string> WorkerLines(const TDownloadJob& job) {
  std::vector<std::string> lines;
  for (const std::string& line : job.Log.Lines())
    if (line.rfind("线程", 0) == 0) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

bool HasLine(const TDownloadJob& job, const std::string& untimedText) {
  const auto c = ControllerLines(job);
  const auto w = WorkerLines(job);
  return std::count(c.begin(), c.end(), untimedText) + std::count(w.begin(), w.end(), untimedText) > 0;
}

SavedPart CheckSavedState(const ostrel::download::DownloadState& state, const std::string& receiveFile,
                          const std::string& source) {
  SavedPart part;
  const std::string partial = ReadFile(receiveFile);
  EXPECT_EQ(partial.size(), source.size());
  for (int32_t k = 0; k < state.SegmentCount && partial.size() == source.size(); ++k) {
    const auto& s = state.Segments[k];
    EXPECT_EQ(partial.substr(s.StartPos, s.DoneSize), source.substr(s.StartPos, s.DoneSize))
        << "segment " << k + 1 << ": the state counts bytes that are not in the file";
    part.kept += s.DoneSize;
    if (s.StartPos + s.DoneSize < s.EndPos)
      part.ranges.push_back("bytes=" + std::to_string(s.StartPos + s.DoneSize) + "-" + std::to_string(s.EndPos));
  }
  part.missing = static_cast<int64_t>(source.size()) - part.kept;
  std::sort(part.ranges.begin(), part.ranges.end());
  return part;
}

FileEvents::FileEvents() {
  platform::SetFileEventObserver([this](const platform::FileEventRecord& r) { events_.push_back(r); });
}

void FileEvents::Stop() { platform::SetFileEventObserver({}); }

int FileEvents::Saves(const std::string& stateFile) const {
  return static_cast<int>(std::count_if(events_.begin(), events_.end(), [&](const auto& r) {
    return r.event == platform::FileEvent::kReplaced && r.hostPath == stateFile;
  }));
}

bool FileEvents::EachSaveFollowsASync(const std::string& receiveFile, const std::string& stateFile) const {
  const std::optional<uint64_t> receive = testkit::FileIdentity(receiveFile);
  if (!receive) return false;
  bool synced = false;
  for (const auto& r : events_) {
    if (r.event == platform::FileEvent::kDataSynced && r.fileId == *receive) synced = true;
    if (r.event == platform::FileEvent::kReplaced && r.hostPath == stateFile) {
      if (!synced) return false;
      synced = false;
    }
  }
  return true;
}

ostrel::download::DownloadState Halves(int32_t total, int32_t done1, int32_t done2) {
  ostrel::download::DownloadState s;
  s.TotalSize = total;
  s.SegmentCount = 2;
  s.Segments[0] = {0, total / 2, done1};
  s.Segments[1] = {total / 2, total, done2};
  return s;
}

std::string EngineTest::Serve(const std::string& name, size_t size) {
  return server->Put(name, testkit::RandomBytes(size, static_cast<uint32_t>(size)));
}

std::shared_ptr<TDownloadJob> EngineTest::Start(const std::string& path, const std::string& target,
                                                int32_t threads) {
  auto counter = notices_;
  return TDownloadJob::Create(server->Url(path), target, threads, true, [counter] { ++*counter; });
}

std::vector<std::string> EngineTest::GetRanges() const {
  std::vector<std::string> ranges;
  for (const auto& r : server->Requests())
    if (r.method == "GET") ranges.push_back(r.range);
  std::sort(ranges.begin(), ranges.end());
  return ranges;
}

void EngineTest::WriteState(const std::string& target, const ostrel::download::DownloadState& state) {
  std::filesystem::create_directories(out_);
  const auto bytes = ostrel::download::EncodeState(state);
  WriteFile(Out(target + ".rpc.cfg"), std::string(bytes.begin(), bytes.end()));
}

std::optional<ostrel::download::DownloadState> EngineTest::StateOf(const std::string& target) const {
  return ostrel::download::ReadStateFile(Out(target + ".rpc.cfg"));
}

bool EngineTest::WaitFinished(const TDownloadJob& job) {
  return WaitUntil([&] { return job.Finished.load(); });
}

bool EngineTest::WaitStopped(const TDownloadJob& job) {
  return WaitUntil([&] { return job.Running.load() == 0; });
}

bool EngineTest::WaitForLine(const TDownloadJob& job, const std::string& untimedText) {
  return WaitUntil([&] { return HasLine(job, untimedText); });
}

}  // namespace testing_support
