// ostrel-fetch [-n THREADS] [--log] URL FILE
//
// Downloads URL into FILE with one download job and follows it the way the installer window
// does: a poll every 100 ms, the first failure notice cancels the job, a signal cancels it too
// (the state file is then kept and the same command resumes). Exit codes: 0 done, 1 failed,
// 2 bad arguments, 130 interrupted.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "download/DownloadJob.h"
#include "tools/fetch/fetch_options.h"
#include "tools/fetch/progress_report.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr auto kStopWait = std::chrono::milliseconds(5000);
constexpr int kBarWidth = 30;

volatile std::sig_atomic_t g_signalled = 0;
std::atomic<bool> g_failed{false};  // set by the engine's failure notice

void OnSignal(int) { g_signalled = 1; }

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // a closed terminal stops the download the same way
  signal(SIGPIPE, SIG_IGN);             // a closed output must not kill the process unsaved
}

// Waits until the job's Running drops, at most kStopWait.
void WaitForStop(const TDownloadJob& job) {
  const auto giveUpAt = Clock::now() + kStopWait;
  while (job.Running.load() != 0 && Clock::now() < giveUpAt)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

class Display {
 public:
  Display() : terminal_(isatty(STDOUT_FILENO) == 1), start_(Clock::now()), lastLine_(start_) {}

  void Update(const TDownloadJob& job, int32_t percent) {
    const auto now = Clock::now();
    const int64_t received = job.ProgressValid.load() ? job.ReceivedSize.load() : lastReceived_;
    lastReceived_ = received;
    speed_.Add(now, received);
    if (percent > 0) lastPercent_ = percent;
    const std::string line =
        fetch::FormatProgress(lastPercent_, received, job.TotalSize.load(), speed_.BytesPerSecond(),
                              terminal_ ? kBarWidth : 0);
    if (terminal_) {
      std::printf("\r%s\x1b[K", line.c_str());
      std::fflush(stdout);
      shown_ = true;
    } else if (now - lastLine_ >= std::chrono::seconds(1)) {
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
      lastLine_ = now;
    }
  }

  void Done(const TDownloadJob& job, const std::string& file) {
    EndBarLine();
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const int64_t total = job.TotalSize.load();
    std::printf("100%%  %s in %.2f s (%s/s): %s\n", fetch::FormatBytes(total).c_str(), seconds,
                fetch::FormatBytes(seconds > 0 ? static_cast<int64_t>(total / seconds) : 0).c_str(),
                file.c_str());
    std::fflush(stdout);
  }

  void EndBarLine() {
    if (terminal_ && shown_) std::printf("\n");
    shown_ = false;
  }

 private:
  bool terminal_;
  bool shown_ = false;
  Clock::time_point start_;
  Clock::time_point lastLine_;
  int64_t lastReceived_ = 0;
  int32_t lastPercent_ = 0;
  fetch::SpeedMeter speed_;
};

void PrintLog(const TDownloadJob& job) {
  for (const std::string& line : job.Log.Lines()) std::printf("%s\n", line.c_str());
}

// Leaves without running destructors: engine threads that are still ending (a worker in its read
// time-out, an abandoned run) may not find the process half torn down.
[[noreturn]] void Leave(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(code);
}

}  // namespace

int main(int argc, char** argv) {
  const fetch::ParseResult parsed = fetch::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.ok) {
    std::fprintf(stderr, "ostrel-fetch: %s\n%s", parsed.error.c_str(), fetch::kUsage);
    return 2;
  }
  const fetch::FetchOptions& options = parsed.options;
  if (options.help) {
    std::printf("%s", fetch::kUsage);
    return 0;
  }

  InstallSignalHandlers();
  std::shared_ptr<TDownloadJob> job = TDownloadJob::Create(
      options.url, options.file, options.threads, true, [] { g_failed.store(true); });

  Display display;
  int exitCode = 0;
  for (;;) {
    std::this_thread::sleep_for(kPollInterval);
    int32_t percent = job->GetPercent();
    if (percent > 100) {  // beyond the whole: give the run up, as the installer window does
      job->Finished.store(true);
      percent = 100;
    }
    display.Update(*job, percent);
    if (job->Finished.load()) {
      WaitForStop(*job);
      display.Done(*job, options.file);
      exitCode = 0;
      break;
    }
    if (g_failed.load() || g_signalled) {
      const bool failed = g_failed.load();
      job->Cancel();
      WaitForStop(*job);
      display.EndBarLine();
      if (failed) {
        std::fprintf(stderr, "ostrel-fetch: download failed; run the same command again to resume\n");
        exitCode = 1;
      } else {
        std::fprintf(stderr, "ostrel-fetch: interrupted; run the same command again to resume\n");
        exitCode = 130;
      }
      break;
    }
  }
  if (options.printLog) PrintLog(*job);
  Leave(exitCode);
}
