#include "download/DownloadJob.h"

#include <algorithm>
#include <cmath>

#include "download/DownloadManager.h"
#include "download/DownloadSegment.h"

TDownloadJob::TDownloadJob(std::string url, std::string fileName, int32_t threadCount,
                           TDownloadFailedNotifier notifier)
    : URL(std::move(url)),
      FileName(std::move(fileName)),
      ThreadCount(std::clamp(threadCount, download::kMinSegments, download::kMaxSegments)),
      notifier_(std::move(notifier)) {}

std::shared_ptr<TDownloadJob> TDownloadJob::Create(std::string URL, std::string FileName,
                                                   int32_t ThreadCount, bool StartNow,
                                                   TDownloadFailedNotifier notifier) {
  std::shared_ptr<TDownloadJob> job(
      new TDownloadJob(std::move(URL), std::move(FileName), ThreadCount, std::move(notifier)));
  if (StartNow) TDownloadManager::Launch(job, job->URL, job->FileName, job->ThreadCount);
  return job;
}

int32_t TDownloadJob::GetPercent() const {
  if (!ProgressValid.load()) return 0;
  const int32_t total = TotalSize.load();
  if (total <= 0) return 0;
  const long double quotient = static_cast<long double>(ReceivedSize.load()) / total;
  return static_cast<int32_t>(std::floor(quotient * 100.0L));
}

void TDownloadJob::Cancel() { CancelRequested.store(true); }

void TDownloadJob::NotifyFailed() const {
  if (notifier_) notifier_();
}
