#include "tests/download/download_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <thread>

namespace testing_support {

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/ostrel-download-test-XXXXXX";
  path_ = mkdtemp(pattern);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<char> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<char> bytes(size);
  for (char& b : bytes) b = static_cast<char>(gen() & 0xff);
  return bytes;
}

void WriteFile(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
  const auto giveUpAt = std::chrono::steady_clock::now() + limit;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= giveUpAt) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool IsTimedLine(const std::string& line, const std::string& text) {
  static const std::regex prefix(R"(^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )");
  return std::regex_search(line, prefix) && line.substr(22) == text;
}

std::vector<std::string> Untimed(const TDownloadJob& job) {
  std::vector<std::string> lines;
  for (const std::string& line : job.Log.Lines())
    lines.push_back(line.size() > 22 && line[0] == '[' ? line.substr(22) : line);
  return lines;
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
  return lines;
}

bool WaitStopped(const TDownloadJob& job) {
  return WaitUntil([&] { return job.Running.load() == 0; });
}

}  // namespace testing_support

namespace testing_support {

EngineFixture::EngineFixture() : site_(scratch / "site"), out_(scratch / "out") {
  std::filesystem::create_directories(site_);
  server = std::make_unique<testserver::TestHttpServer>(site_);
}

std::vector<char> EngineFixture::Serve(const std::string& name, size_t size, uint32_t seed) {
  std::vector<char> bytes = RandomBytes(size, seed);
  WriteFile(site_ + "/" + name, bytes);
  return bytes;
}

std::shared_ptr<TDownloadJob> EngineFixture::Start(const std::string& path,
                                                   const std::string& target, int32_t threads) {
  return TDownloadJob::Create(server->Url(path), target, threads, true, notices.Notifier());
}

std::vector<std::string> EngineFixture::GetRanges() const {
  std::vector<std::string> ranges;
  for (const auto& r : server->Requests())
    if (r.method == "GET") ranges.push_back(r.range);
  return ranges;
}

bool EngineFixture::WaitFinished(const TDownloadJob& job) {
  return WaitUntil([&] { return job.Finished.load(); });
}

bool EngineFixture::WaitForLine(const TDownloadJob& job, const std::string& text) {
  return WaitUntil([&] {
    for (const auto& line : Untimed(job))
      if (line == text) return true;
    return false;
  });
}

}  // namespace testing_support
