// ostrel-fetch [-n THREADS] [--log] URL FILE
//
// Downloads URL into FILE with one download job and follows it the way the installer window
// does: progress every 100 ms, the first failure notice cancels the job, a signal cancels it too
// (the state file is then kept and the same command resumes). A server that ignores Range gets
// one more try as a single stream. Progress and messages go to stderr; stdout carries only the
// log (--log). The summary and a failure's reason say which proxy the requests went through (the
// user's settings on Windows, http_proxy, https_proxy and no_proxy on Linux) or "no proxy".
// Exit codes: 0 done, 1 failed, 2 bad arguments, 130 interrupted.
#ifdef _WIN32
#include <io.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "download/DownloadJob.h"
#include "download/ResumeNames.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/proxy.h"
#include "tools/fetch/fetch_options.h"
#include "tools/fetch/progress_report.h"

namespace ostrel::fetch {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(100);
// A stopped job's threads end within a fraction of a second (a worker's stop is seen inside a
// block, and the state is flushed to disk); this bound only guards against a wedged disk.
constexpr auto kStopWait = std::chrono::milliseconds(60000);
constexpr int kBarWidth = 30;

volatile std::sig_atomic_t g_signalled = 0;
std::atomic<bool> g_failed{false};  // set by the engine's failure notice

void OnSignal(int) { g_signalled = 1; }

#ifdef _WIN32
// Ctrl+C and Ctrl+Break reach the C run-time as SIGINT and SIGBREAK.
void InstallSignalHandlers() {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGBREAK, OnSignal);
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }
#else
void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // a closed terminal stops the download the same way
  signal(SIGPIPE, SIG_IGN);             // a closed output must not kill the process unsaved
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }
#endif

class Display {
 public:
  Display() : terminal_(IsTerminal(stderr)), start_(Clock::now()), lastLine_(start_) {}

  void Update(const TDownloadJob& job, int32_t percent) {
    const auto now = Clock::now();
    const int64_t received = job.ProgressValid.load() ? job.ReceivedSize.load() : lastReceived_;
    lastReceived_ = received;
    speed_.Add(now, received);
    if (percent > 0) lastPercent_ = percent;
    const std::string line = FormatProgress(lastPercent_, received, job.TotalSize.load(), speed_.BytesPerSecond(),
                                            terminal_ ? kBarWidth : 0);
    if (terminal_) {
      platform::PrintText(stderr, "\r%s\x1b[K", line.c_str());
      shown_ = true;
    } else if (now - lastLine_ >= std::chrono::seconds(1)) {
      platform::PrintText(stderr, "%s\n", line.c_str());
      lastLine_ = now;
    }
  }

  void Done(const TDownloadJob& job, const std::string& file, const std::string& route) {
    EndBarLine();
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const int64_t total = job.TotalSize.load();
    platform::PrintText(stderr, "100%%  %s in %.2f s (%s/s), %s: %s\n", FormatBytes(total).c_str(), seconds,
                        FormatBytes(seconds > 0 ? static_cast<int64_t>(total / seconds) : 0).c_str(), route.c_str(),
                        file.c_str());
  }

  void EndBarLine() {
    if (terminal_ && shown_) platform::PrintText(stderr, "\n");
    shown_ = false;
  }

 private:
  bool terminal_;
  bool shown_ = false;
  Clock::time_point start_;
  Clock::time_point lastLine_;
  int64_t lastReceived_ = 0;
  int32_t lastPercent_ = 0;
  SpeedMeter speed_;
};

void PrintLog(const TDownloadJob& job) {
  for (const std::string& line : job.Log.Lines()) platform::PrintText(stdout, "%s\n", line.c_str());
}

enum class Outcome { Done, Failed, Interrupted };

// "through the proxy http://host:port" or "no proxy", as the settings give it for url.
std::string RouteText(const std::string& url) {
  const std::string proxy = platform::ProxyFor(url).proxy;
  return proxy.empty() ? "no proxy" : "through the proxy " + proxy;
}

// A later run can get further: the link, the proxy or the server failed for now, or the disk was full. Not
// after an answer that will be the same (4xx, no size, an encoded body, a redirect loop) or a
// file that can't be written.
bool ResumeMayHelp(const download::DownloadFailure& failure) {
  using download::FailureKind;
  switch (failure.kind) {
    case FailureKind::Transfer: return failure.detail.find("edirect") == std::string::npos;
    case FailureKind::HttpStatus: {
      const int status = std::atoi(failure.detail.c_str());
      return status >= 500 || status == 408 || status == 429;
    }
    case FailureKind::DiskFull:
    case FailureKind::ProxyUnreachable: return true;
    default: return false;
  }
}

// Follows the job until it completes, fails or a signal comes; a failed or interrupted job is
// cancelled and its threads have ended (its state saved) when this returns.
Outcome Follow(TDownloadJob& job, Display& display) {
  for (;;) {
    // Wakes at once when the job's last thread ends, else after one progress interval.
    const bool ended = job.WaitForThreads(kPollInterval);
    int32_t percent = job.GetPercent();
    if (percent > 100) {  // beyond the whole: give the run up, as the installer window does
      job.Finished.store(true);
      percent = 100;
    }
    if (job.Finished.load()) {
      display.Update(job, 100);
      return Outcome::Done;
    }
    display.Update(job, percent);
    if (g_failed.load() || g_signalled || ended) {
      job.Cancel();
      job.WaitForThreads(kStopWait);
      display.EndBarLine();
      return g_signalled && !g_failed.load() ? Outcome::Interrupted : Outcome::Failed;
    }
  }
}

// Removes what a job left for target, so that a new job starts afresh.
void ForgetProgress(const std::string& target) {
  const download::TargetParts parts = download::SplitTarget(target);
  platform::RemovePath(platform::HostPath(download::StateFileName(parts)));
  platform::RemovePath(platform::HostPath(download::ReceiveFileName(parts)));
}

std::shared_ptr<TDownloadJob> StartJob(const FetchOptions& options, int32_t threads) {
  g_failed.store(false);
  return TDownloadJob::Create(options.url, options.file, threads, true, [] { g_failed.store(true); });
}

// The program: the command line, then the work; its exit code.
int Main(int argc, char** argv) {
  const ParseResult parsed = ParseArguments(platform::ProgramArguments(argc, argv));
  if (!parsed.ok) {
    platform::PrintText(stderr, "ostrel-fetch: %s\n%s", parsed.error.c_str(), kUsage);
    return 2;
  }
  const FetchOptions& options = parsed.options;
  if (options.help) {
    platform::PrintText(stdout, "%s", kUsage);
    return 0;
  }

  InstallSignalHandlers();
  // A Windows path text ("C:\\...") is mapped through the prefix, found once here.
  if (platform::HasDriveLetter(options.file) || platform::IsCurrentDriveRooted(options.file))
    platform::InitPrefix();
  Display display;
  std::shared_ptr<TDownloadJob> job = StartJob(options, options.threads);
  Outcome outcome = Follow(*job, display);
  if (outcome == Outcome::Failed &&
      job->Failure().kind == download::FailureKind::RangeNotHonoured && !g_signalled) {
    // The segments can't be fetched apart: what was fetched can't be resumed either.
    if (options.printLog) PrintLog(*job);
    platform::PrintText(stderr, "ostrel-fetch: the server ignores Range requests; fetching %s as a single stream\n",
                 options.url.c_str());
    ForgetProgress(options.file);
    job = StartJob(options, 1);
    outcome = Follow(*job, display);
  }
  if (options.printLog) PrintLog(*job);

  int exitCode = 0;
  switch (outcome) {
    case Outcome::Done:
      display.Done(*job, job->FinalName().empty() ? options.file : job->FinalName(), RouteText(options.url));
      break;
    case Outcome::Failed: {
      const download::DownloadFailure failure = job->Failure();
      platform::PrintText(stderr, "ostrel-fetch: %s for %s (%s)\n",
                   failure ? failure.Text().c_str() : "download failed", options.url.c_str(),
                   RouteText(options.url).c_str());
      if (ResumeMayHelp(failure)) platform::PrintText(stderr, "ostrel-fetch: run the same command again to resume\n");
      exitCode = 1;
      break;
    }
    case Outcome::Interrupted:
      platform::PrintText(stderr, "ostrel-fetch: interrupted; run the same command again to resume\n");
      exitCode = 130;
      break;
  }
  std::fflush(stdout);
  // Every thread of the job has ended unless the disk wedged the state's save: only then leave
  // without tearing the process down under a running thread.
  if (!job->WaitForThreads(kStopWait)) std::_Exit(exitCode);
  return exitCode;
}

}  // namespace
}  // namespace ostrel::fetch

int main(int argc, char** argv) { return ostrel::fetch::Main(argc, argv); }
