#include "tests/download/download_test_support.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <thread>

namespace testing_support {

std::vector<char> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<char> bytes(size);
  for (char& b : bytes) b = static_cast<char>(gen() & 0xff);
  return bytes;
}

void WriteFile(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool WaitUntil(const std::function<bool()>& pred, std::chrono::seconds limit) {
  const auto giveUpAt = std::chrono::steady_clock::now() + limit;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= giveUpAt) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
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

ostrel::download::DownloadState Halves(int32_t total, int32_t done1, int32_t done2) {
  ostrel::download::DownloadState s;
  s.TotalSize = total;
  s.SegmentCount = 2;
  s.Segments[0] = {0, total / 2, done1};
  s.Segments[1] = {total / 2, total, done2};
  return s;
}

EngineTest::EngineTest() {
  char pattern[] = "/tmp/ostrel-download-test-XXXXXX";
  root_ = ::mkdtemp(pattern);
  site_ = root_ + "/site";
  out_ = root_ + "/out";
  std::filesystem::create_directories(site_);
  server = std::make_unique<testserver::TestHttpServer>(site_);
}

EngineTest::~EngineTest() {
  server.reset();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<char> EngineTest::Serve(const std::string& name, size_t size) {
  std::vector<char> bytes = RandomBytes(size, static_cast<uint32_t>(size));
  WriteFile(site_ + "/" + name, bytes);
  return bytes;
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
  WriteFile(Out(target + ".rpc.cfg"), std::vector<char>(bytes.begin(), bytes.end()));
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
