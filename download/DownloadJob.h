// A download job: one resource into one file, carried out by a segment controller on its own
// thread. The owner follows it by polling its fields, learns of failures through the notifier,
// stops it with Cancel, and abandons it by setting Finished.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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

  // Asks the run to stop; the controller notices it within one monitoring cycle.
  void Cancel();

  // Sends the failure notice to the owner (engine threads only).
  void NotifyFailed() const;

 private:
  TDownloadJob(std::string url, std::string fileName, int32_t threadCount,
               TDownloadFailedNotifier notifier);

  const TDownloadFailedNotifier notifier_;
};
