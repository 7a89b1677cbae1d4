// Helpers shared by the engine's tests: a scratch folder, file contents, waiting for a condition,
// and a failure-notice counter that outlives the test (engine threads may still call it).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "download/DownloadJob.h"

namespace testing_support {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::vector<char> RandomBytes(size_t size, uint32_t seed = 1);
void WriteFile(const std::string& path, const std::vector<char>& bytes);
std::vector<char> ReadFile(const std::string& path);  // empty if missing
bool Exists(const std::string& path);

// Polls pred every 5 ms until it holds or the limit passes; returns the last result.
bool WaitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

struct Notices {
  std::shared_ptr<std::atomic<int>> count = std::make_shared<std::atomic<int>>(0);
  TDownloadFailedNotifier Notifier() const {
    auto c = count;
    return [c] { c->fetch_add(1); };
  }
  int Count() const { return count->load(); }
};

// True when the line is "[yyyy-mm-dd hh:nn:ss] " + text.
bool IsTimedLine(const std::string& line, const std::string& text);

// The job's log lines with the time prefix cut off controller lines.
std::vector<std::string> Untimed(const TDownloadJob& job);

// The controller's lines (time prefix checked and cut off), and the workers' lines.
std::vector<std::string> ControllerLines(const TDownloadJob& job);
std::vector<std::string> WorkerLines(const TDownloadJob& job);

// Waits until the job's Running is 0 (the run has saved its state or completed).
bool WaitStopped(const TDownloadJob& job);

}  // namespace testing_support

#include "tools/testserver/test_http_server.h"

namespace testing_support {

// A served folder ("site") and a download folder ("out") in a scratch folder, a test server on
// 127.0.0.1 and a notice counter.
class EngineFixture {
 public:
  EngineFixture();
  std::vector<char> Serve(const std::string& name, size_t size, uint32_t seed = 7);
  std::shared_ptr<TDownloadJob> Start(const std::string& path, const std::string& target,
                                      int32_t threads = 2);
  std::string Out(const std::string& name) const { return out_ + "/" + name; }
  // GET requests' Range values, in arrival order.
  std::vector<std::string> GetRanges() const;
  bool WaitFinished(const TDownloadJob& job);
  // Waits until the job's log holds this line (untimed text).
  bool WaitForLine(const TDownloadJob& job, const std::string& text);

  ScratchDir scratch;
  std::string site_;
  std::string out_;
  std::unique_ptr<testserver::TestHttpServer> server;
  Notices notices;
};

}  // namespace testing_support
