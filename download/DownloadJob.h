// A download job: one resource into one file, carried out by a segment controller on its own
// thread. The owner follows it by polling its fields, learns of failures through the notifier,
// stops it with Cancel, and abandons it by setting Finished. Every change the engine makes to the
// job's state goes through the engine-side operations below.
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

// Called synchronously on the engine thread that detects a failure (once per failing worker, once
// per failure of the controller). It must not wait for the job.
namespace ostrel::download {
using FailedNotifier = std::function<void()>;
// The owner's hold on its notifier: notices reach the notifier while the owner keeps the token,
// and are dropped once it has let go (a notice already under way still completes).
using NotifierToken = std::shared_ptr<const FailedNotifier>;
inline NotifierToken MakeNotifier(FailedNotifier notifier) {
  return std::make_shared<const FailedNotifier>(std::move(notifier));
}
}  // namespace ostrel::download

class TDownloadJob {
 public:
  // Stores the values and, when StartNow is set, starts the controller on its own thread; the
  // controller shares ownership of the job, so the owner may drop its pointer at any time.
  // ThreadCount is held to 1 to 10. Throws std::system_error only if no thread can be started.
  // The notifier is held through the owner's token, which the owner drops to detach it.
  static std::shared_ptr<TDownloadJob> Create(std::string URL, std::string FileName,
                                              int32_t ThreadCount, bool StartNow,
                                              const ostrel::download::NotifierToken& notifier);
  // The same with a notifier that the job keeps for its whole life.
  static std::shared_ptr<TDownloadJob> Create(std::string URL, std::string FileName,
                                              int32_t ThreadCount, bool StartNow,
                                              ostrel::download::FailedNotifier notifier = {});
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
  ostrel::download::DownloadFailure Failure() const;
  // The path text the complete file was given: FileName, or its first free numbered name when
  // FileName was taken. Empty until the run has completed.
  std::string FinalName() const;

  // Threads of the job still running (its controller and workers, also of an abandoned run).
  int LiveThreads() const;
  // Waits until every thread of the job has ended, at most limit; true when none is left. After
  // that the engine touches nothing of the job's owner, and the program may end normally.
  bool WaitForThreads(std::chrono::milliseconds limit) const;

  // Engine side: the run's changes of the job's state.
  void BeginRun();          // Running 1
  void SetTotalSize(int32_t size);
  void BeginTransfer();     // Finished false
  void PublishProgress(int32_t received);  // ReceivedSize, bracketed by ProgressValid
  void Complete(std::string finalName);     // the final name, then Finished true
  void EndRun();            // CancelRequested false, Running 0
  // Records the failure if it is the run's first, then sends the notice to the owner, if the owner
  // still holds its token (once per call).
  void ReportFailure(ostrel::download::DownloadFailure failure);
  void ThreadStarted();
  void ThreadEnded();  // the thread's last touch of the job's state
  void SignalWorkerEnded();  // a worker has given its slot back
  // Waits until a thread ends or Cancel is called after the event numbered seen, at most limit;
  // returns the number of the latest event.
  uint64_t WaitForEvent(uint64_t seen, std::chrono::milliseconds limit) const;
  uint64_t Events() const;

 private:
  TDownloadJob(std::string url, std::string fileName, int32_t threadCount,
               ostrel::download::NotifierToken ownNotifier,
               std::weak_ptr<const ostrel::download::FailedNotifier> notifier);
  static std::shared_ptr<TDownloadJob> Start(std::shared_ptr<TDownloadJob> job, bool startNow);
  void RaiseEvent();

  const ostrel::download::NotifierToken ownNotifier_;  // set when the job keeps its notifier itself
  const std::weak_ptr<const ostrel::download::FailedNotifier> notifier_;
  mutable std::mutex stateLock_;
  mutable std::condition_variable changed_;
  ostrel::download::DownloadFailure failure_;
  std::string finalName_;
  int liveThreads_ = 0;
  uint64_t events_ = 0;
};
