// A download job: one resource into one file, carried out by a segment controller on its own
// thread. The owner follows it by polling its fields, learns of failures through the notifier,
// stops it with Cancel, and abandons it by setting Finished.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "download/DownloadFailure.h"
#include "download/DownloadLog.h"

// The window message through which the installer window learns of a failed download. It carries
// nothing (wParam 0, lParam 0) and names neither job nor worker.
inline constexpr unsigned WM_DOWNLOAD_FAILED = 0x0856;

// Called synchronously on the engine thread that detects a failure (once per failing worker, once
// per failure of the controller). It must not wait for the job.
using TDownloadFailedNotifier = std::function<void()>;

class TDownloadJob {
 public:
  // Stores the values and, when StartNow is set, starts the controller on its own thread; the
  // controller shares ownership of the job, so the owner may drop its pointer at any time.
  // ThreadCount is held to 1 to 10. Throws std::system_error only if no thread can be started.
  static std::shared_ptr<TDownloadJob> Create(std::string URL, std::string FileName,
                                              int32_t ThreadCount, bool StartNow,
                                              TDownloadFailedNotifier notifier = {});
  virtual ~TDownloadJob() = default;
  TDownloadJob(const TDownloadJob&) = delete;
  TDownloadJob& operator=(const TDownloadJob&) = delete;

  const std::string URL;
  const std::string FileName;
  const int32_t ThreadCount;
  std::atomic<int32_t> Running{0};  // 1 from the controller's construction until its state save
  std::atomic<bool> CancelRequested{false};
  std::atomic<bool> Finished{false};  // set by the controller when complete; by the owner to abandon
  std::atomic<bool> ProgressValid{false};  // false while ReceivedSize is being recomputed
  std::atomic<int32_t> TotalSize{0};
  std::atomic<int32_t> ReceivedSize{0};
  TDownloadLog Log;

  // Whole percent received, rounded down, computed in extended precision; 0 while the progress is
  // not valid. Not limited to 100.
  int32_t GetPercent() const;

  // Asks the run to stop; the controller sees it at once and stops the workers, which end within
  // a fraction of a second, also in the middle of a block or while a server stalls.
  void Cancel();

  // Why the run failed: the first failure reported in it; kind None while there was none.
  download::DownloadFailure Failure() const;
  // The path text the complete file was given: FileName, or its first free numbered name when
  // FileName was taken. Empty until the run has completed.
  std::string FinalName() const;

  // Threads of the job still running (its controller and workers, also of an abandoned run).
  int LiveThreads() const;
  // Waits until every thread of the job has ended, at most limit; true when none is left. After
  // that the engine touches nothing of the job's owner, and the program may end normally.
  bool WaitForThreads(std::chrono::milliseconds limit) const;

  // Engine side. ReportFailure records the failure if it is the run's first, then sends the notice
  // to the owner (once per call).
  void ReportFailure(download::DownloadFailure failure);
  void SetFinalName(std::string name);
  void ThreadStarted();
  void ThreadEnded();  // the thread's last touch of the job's state
  // Waits until a thread ends or Cancel is called after the event numbered seen, at most limit;
  // returns the number of the latest event.
  uint64_t WaitForEvent(uint64_t seen, std::chrono::milliseconds limit) const;
  uint64_t Events() const;

 private:
  TDownloadJob(std::string url, std::string fileName, int32_t threadCount,
               TDownloadFailedNotifier notifier);
  void RaiseEvent();

  const TDownloadFailedNotifier notifier_;
  mutable std::mutex stateLock_;
  mutable std::condition_variable changed_;
  download::DownloadFailure failure_;
  std::string finalName_;
  int liveThreads_ = 0;
  uint64_t events_ = 0;
};
