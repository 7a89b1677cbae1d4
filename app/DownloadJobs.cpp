// The window's download jobs: the current one, its failure notices, and the jobs it replaced,
// which are kept until their threads have ended.
#include <chrono>

#include "app/FSpeedInstall.h"

namespace {
constexpr int32_t kThreadsPerJob = 2;
}  // namespace

std::shared_ptr<TDownloadJob> TfrmSpeedInstall::StartJob(const std::string& url,
                                                         const std::string& fileName) {
  // Notices reach WMDownloadFailed on the window's thread while this job is the current one.
  FNotifier = ostrel::download::MakeNotifier([caller = FHost.CallerOnWindowThread()] {
    if (caller) caller->NotifyDownloadFailed();
  });
  auto job = TDownloadJob::Create(url, fileName, kThreadsPerJob, true, FNotifier);
  SetDownloadJob(job);
  return job;
}

void TfrmSpeedInstall::SetDownloadJob(std::shared_ptr<TDownloadJob> job) {
  if (FDownloadJob && FDownloadJob != job) FReplacedJobs.push_back(std::move(FDownloadJob));
  std::erase_if(FReplacedJobs, [](const auto& old) { return old->LiveThreads() == 0; });
  FDownloadJob = std::move(job);
}

void TfrmSpeedInstall::ReleaseDownloadJob() {
  FNotifier.reset();  // no notice of it reaches the window any more
  SetDownloadJob(nullptr);
}
