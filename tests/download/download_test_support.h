// Helpers for the engine's tests: the log's lines, and a fixture with a scratch folder, a test
// server on 127.0.0.1 and a failure-notice counter that outlives the test (engine threads may
// still call it).
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "download/DownloadJob.h"
#include "download/StateFile.h"
#include "platform/file_events.h"
#include "tests/testkit/files.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/wait.h"

namespace testing_support {

using testkit::ReadFile;
using testkit::WaitUntil;
using testkit::WriteFile;
bool Exists(const std::string& path);

// Controller lines (the "[yyyy-mm-dd hh:nn:ss] " prefix checked and cut off) and worker lines.
std::vector<std::string> ControllerLines(const TDownloadJob& job);
std::vector<std::string> WorkerLines(const TDownloadJob& job);  // sorted
bool HasLine(const TDownloadJob& job, const std::string& untimedText);

class EngineTest : public ::testing::Test {
 protected:
  ~EngineTest() override { server.reset(); }

  std::string Serve(const std::string& name, size_t size);
  std::shared_ptr<TDownloadJob> Start(const std::string& path, const std::string& target,
                                      int32_t threads = 2);
  std::string Out(const std::string& name) const { return out_ + "/" + name; }
  std::vector<std::string> GetRanges() const;  // Range values of the GET requests, sorted
  void WriteState(const std::string& target, const ostrel::download::DownloadState& state);
  std::optional<ostrel::download::DownloadState> StateOf(const std::string& target) const;
  int Notices() const { return notices_->load(); }

  bool WaitFinished(const TDownloadJob& job);
  bool WaitStopped(const TDownloadJob& job);  // Running back at 0
  bool WaitForLine(const TDownloadJob& job, const std::string& untimedText);

  testkit::TempDir dir_;
  std::string root_ = dir_.path().string(), site_ = root_ + "/site", out_ = root_ + "/out";
  std::unique_ptr<testkit::ServedFolder> server = std::make_unique<testkit::ServedFolder>(site_);
  std::shared_ptr<std::atomic<int>> notices_ = std::make_shared<std::atomic<int>>(0);
};

// What a saved state promises, checked against the receive file: every byte it counts is there as
// served (source). Returns the Range values a resume must send, sorted, and the bytes it lacks.
struct SavedPart {
  std::vector<std::string> ranges;
  int64_t kept = 0, missing = 0;
};
SavedPart CheckSavedState(const ostrel::download::DownloadState& state, const std::string& receiveFile,
                          const std::string& source);

// The durable steps of a run, recorded from the file layer; Stop before reading them.
class FileEvents {
 public:
  FileEvents();
  ~FileEvents() { Stop(); }
  void Stop();
  // How often the state file was replaced; and whether each replacement came after the receive
  // file's data was put on the disk (a sync of it since the previous replacement).
  int Saves(const std::string& stateFile) const;
  bool EachSaveFollowsASync(const std::string& receiveFile, const std::string& stateFile) const;

 private:
  std::vector<platform::FileEventRecord> events_;
};

// A state for two halves of total bytes.
ostrel::download::DownloadState Halves(int32_t total, int32_t done1, int32_t done2);

}  // namespace testing_support
