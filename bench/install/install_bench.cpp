// One whole install on a headless host with the real engine, timed from "立即安装" to the done
// page. The host runs the window's timers at their own intervals (the polls every 100 ms, the
// fallback 1 s after it is armed) and the engine's notices in between, as a window would.
//
//   ostrel-install-bench FOLDER     installs into FOLDER (a Windows path, e.g. C:\Bench); the
//                                   servers and the prefix come from the environment.
// Prints "install SECONDS" on success; the boxes shown and exit status 1 otherwise.
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "ScriptedHost.h"
#include "app/FSpeedInstall.h"
#include "platform/host_path.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kPollInterval = 100ms;
constexpr auto kFallbackDelay = 1s;
constexpr auto kGiveUp = 600s;

// Runs the window until the done page or a box; true at the done page.
bool RunToDonePage(ostrel::app::test::ScriptedHost& host, TfrmSpeedInstall& form) {
  ostrel::skin::Form& model = form.Form();
  const Clock::time_point giveUp = Clock::now() + kGiveUp;
  Clock::time_point nextPoll = Clock::now() + kPollInterval;
  std::optional<Clock::time_point> fallbackDue;
  while (model.PageIndex("nbMain") != ostrel::app::kPageWC) {
    if (!host.boxes.empty() || Clock::now() > giveUp) return false;
    host.Pump();
    if (Clock::now() >= nextPoll) {
      nextPoll += kPollInterval;
      for (const char* poll : {"tmr1", "tmr3"}) model.TimerTick(poll);
    }
    if (model.Get("tmr2").enabled) {
      if (!fallbackDue) fallbackDue = Clock::now() + kFallbackDelay;
      if (Clock::now() >= *fallbackDue) model.TimerTick("tmr2");
    } else {
      fallbackDue.reset();
    }
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ostrel-install-bench FOLDER\n");
    return 2;
  }
  if (!platform::InitPrefix()) {
    std::fprintf(stderr, "ostrel-install-bench: the prefix can't be made\n");
    return 1;
  }
  ostrel::app::test::ScriptedHost host;
  TfrmSpeedInstall form(host);
  form.FormShow();
  form.lblAZClick(nullptr);
  form.Form().SetText("edtAZLJ", argv[1]);
  const Clock::time_point started = Clock::now();
  form.lblLJAZClick(nullptr);
  const bool done = RunToDonePage(host, form);
  const std::chrono::duration<double> took = Clock::now() - started;
  for (const std::string& box : host.boxes) std::fprintf(stderr, "box: %s\n", box.c_str());
  host.CloseWindow();
  form.WaitForJobThreads(10s);
  if (!done) return 1;
  std::printf("install %.3f\n", took.count());
  return 0;
}
