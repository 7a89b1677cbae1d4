#include "download/DownloadJob.h"

#include <algorithm>
#include <cmath>

#include "download/DownloadManager.h"
#include "download/DownloadSegment.h"

TDownloadJob::TDownloadJob(std::string url, std::string fileName, int32_t threadCount,
                           ostrel::download::NotifierToken ownNotifier,
                           std::weak_ptr<const ostrel::download::FailedNotifier> notifier)
    : URL(std::move(url)),
      FileName(std::move(fileName)),
      ThreadCount(std::clamp(threadCount, ostrel::download::kMinSegments, ostrel::download::kMaxSegments)),
      ownNotifier_(std::move(ownNotifier)),
      notifier_(std::move(notifier)) {}

std::shared_ptr<TDownloadJob> TDownloadJob::Start(std::shared_ptr<TDownloadJob> job, bool startNow) {
  if (startNow) TDownloadManager::Launch(job, job->URL, job->FileName, job->ThreadCount);
  return job;
}

std::shared_ptr<TDownloadJob> TDownloadJob::Create(std::string URL, std::string FileName,
                                                   int32_t ThreadCount, bool StartNow,
                                                   const ostrel::download::NotifierToken& notifier) {
  return Start(std::shared_ptr<TDownloadJob>(new TDownloadJob(
                   std::move(URL), std::move(FileName), ThreadCount, nullptr, notifier)),
               StartNow);
}

std::shared_ptr<TDownloadJob> TDownloadJob::Create(std::string URL, std::string FileName,
                                                   int32_t ThreadCount, bool StartNow,
                                                   ostrel::download::FailedNotifier notifier) {
  ostrel::download::NotifierToken own = notifier ? ostrel::download::MakeNotifier(std::move(notifier)) : nullptr;
  std::weak_ptr<const ostrel::download::FailedNotifier> weak = own;
  return Start(std::shared_ptr<TDownloadJob>(new TDownloadJob(std::move(URL), std::move(FileName),
                                                              ThreadCount, std::move(own), weak)),
               StartNow);
}

int32_t TDownloadJob::GetPercent() const {
  if (!ProgressValid.load()) return 0;
  const int32_t total = TotalSize.load();
  if (total <= 0) return 0;
  const long double quotient = static_cast<long double>(ReceivedSize.load()) / total;
  return static_cast<int32_t>(std::floor(quotient * 100.0L));
}

void TDownloadJob::Cancel() {
  CancelRequested.store(true);
  RaiseEvent();
}

ostrel::download::DownloadFailure TDownloadJob::Failure() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return failure_;
}

std::string TDownloadJob::FinalName() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return finalName_;
}

int TDownloadJob::LiveThreads() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return liveThreads_;
}

bool TDownloadJob::WaitForThreads(std::chrono::milliseconds limit) const {
  std::unique_lock<std::mutex> lock(stateLock_);
  return changed_.wait_for(lock, limit, [this] { return liveThreads_ == 0; });
}

void TDownloadJob::ReportFailure(ostrel::download::DownloadFailure failure) {
  if (!failure.proxy.empty())
    Log.Append(ostrel::download::ControllerLine(ostrel::download::logtext::ProxyFailure(failure.Text())));
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (!failure_) failure_ = std::move(failure);
  }
  if (const ostrel::download::NotifierToken notifier = notifier_.lock()) (*notifier)();
}

void TDownloadJob::BeginRun() { Running.store(1); }

void TDownloadJob::SetTotalSize(int32_t size) { TotalSize.store(size); }

void TDownloadJob::BeginTransfer() { Finished.store(false); }

void TDownloadJob::PublishProgress(int32_t received) {
  ProgressValid.store(false);
  ReceivedSize.store(received);
  ProgressValid.store(true);
}

void TDownloadJob::Complete(std::string finalName) {
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    finalName_ = std::move(finalName);
  }
  Finished.store(true);
}

void TDownloadJob::EndRun() {
  CancelRequested.store(false);
  Running.store(0);
}

void TDownloadJob::ThreadStarted() {
  std::lock_guard<std::mutex> guard(stateLock_);
  ++liveThreads_;
}

void TDownloadJob::ThreadEnded() {
  std::lock_guard<std::mutex> guard(stateLock_);
  --liveThreads_;
  ++events_;
  changed_.notify_all();
}

void TDownloadJob::SignalWorkerEnded() { RaiseEvent(); }

void TDownloadJob::RaiseEvent() {
  std::lock_guard<std::mutex> guard(stateLock_);
  ++events_;
  changed_.notify_all();
}

uint64_t TDownloadJob::WaitForEvent(uint64_t seen, std::chrono::milliseconds limit) const {
  std::unique_lock<std::mutex> lock(stateLock_);
  changed_.wait_for(lock, limit, [&] { return events_ != seen; });
  return events_;
}

uint64_t TDownloadJob::Events() const {
  std::lock_guard<std::mutex> guard(stateLock_);
  return events_;
}
