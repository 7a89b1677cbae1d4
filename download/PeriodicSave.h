// Runs a save every interval on a thread of its own, from construction until Stop (or the
// destructor). The controller keeps one while its workers run, so that a kill, a crash or a power
// cut loses at most the last interval of a long download.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace ostrel::download {

class PeriodicSave {
 public:
  // Without a thread (none can be started) there are no saves; the run goes on without them.
  PeriodicSave(std::chrono::milliseconds interval, std::function<void()> save);
  ~PeriodicSave() { Stop(); }
  PeriodicSave(const PeriodicSave&) = delete;
  PeriodicSave& operator=(const PeriodicSave&) = delete;

  // Waits for a save under way to end; no save begins afterwards.
  void Stop();

 private:
  void Run();

  const std::chrono::milliseconds interval_;
  const std::function<void()> save_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace ostrel::download
