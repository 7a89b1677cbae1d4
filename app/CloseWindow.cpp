// The close controls: what each page does before the window closes, and the wait for the
// threads of the window's jobs once it has.
#include <algorithm>
#include <chrono>
#include <thread>

#include "app/FSpeedInstall.h"

namespace ctl = ostrel::skin::ctl;

namespace {
using Clock = std::chrono::steady_clock;  // monotonic: no wrap-around, no jumps
constexpr std::chrono::milliseconds kCancelWait{5000};
constexpr std::chrono::milliseconds kAfterCancel{200};
constexpr std::chrono::milliseconds kWaitStep{5};
}  // namespace

void TfrmSpeedInstall::lblCloseClick(TControl*) {
  // The extraction stops at its next pump and puts the install folder back; the close goes on then.
  if (FExtracting) {
    FCloseAfterExtraction = true;
    return;
  }
  switch (FForm.PageIndex(ctl::nbMain)) {
    case ostrel::app::kPageXZ:
      if (FDirectDownload) return FHost.ExitProcess(0);
      if (!FDownloadJob) {
        FForm.SetTimerEnabled(ctl::tmr1, false);
        return FHost.ExitProcess(0);
      }
      if (FDownloadJob->Running == 1) WaitForCancelledJob();
      break;
    case ostrel::app::kPageWC:
      RegisterPlatform();
      break;
    default:
      break;
  }
  FForm.SetTimerEnabled(ctl::tmr1, false);
  ReleaseDownloadJob();
  FClosing = true;  // a single-request download under way ends
  FHost.CloseWindow();
}

void TfrmSpeedInstall::WaitForCancelledJob() {
  const std::shared_ptr<TDownloadJob> job = FDownloadJob;  // events run meanwhile may replace it
  job->Cancel();
  const Clock::time_point cancelled = Clock::now();
  while (job->Running == 1 && Clock::now() - cancelled < kCancelWait) {
    FHost.ProcessMessages();  // lets a worker's failure notice complete
    std::this_thread::sleep_for(kWaitStep);
  }
  std::this_thread::sleep_for(kAfterCancel);
}

bool TfrmSpeedInstall::WaitForJobThreads(std::chrono::milliseconds limit) const {
  const Clock::time_point deadline = Clock::now() + limit;
  bool allEnded = true;
  auto wait = [&](const std::shared_ptr<TDownloadJob>& job) {
    if (!job) return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    allEnded = job->WaitForThreads(std::max(left, std::chrono::milliseconds(0))) && allEnded;
  };
  wait(FDownloadJob);
  for (const auto& job : FReplacedJobs) wait(job);
  return allEnded;
}
