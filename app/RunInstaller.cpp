#include "app/RunInstaller.h"

#include <chrono>

#include "app/Servers.h"
#include "app/StartUp.h"
#include "platform/host_path.h"
#include "support/WindowsSysVersion.h"
#include "support/pubShare.h"

namespace ostrel::app {
namespace {

// How long the ended window waits for the threads of its download jobs.
constexpr std::chrono::seconds kThreadsGrace{3};

}  // namespace

int RunInstaller(int argumentCount, ProgramHost& host) {
  platform::InitPrefix();
  if (const std::string problem = CheckServers(); !problem.empty()) {
    host.TellStartProblem("InstKeloPro: " + problem);
    return 1;
  }
  StartUpSteps steps;
  steps.sysVersion = [] { return GetSysVersion(); };
  steps.relaunch = [&](const std::string& file, const std::string& params) {
    RunAsAdmin(host.PromptOwner(), file, params);
  };
  steps.executable = [] { return platform::ExecutablePath(); };
  steps.runWindow = [&] {
    RunHandler(
        [&] {
          host.RunWindow([](SessionHost& window) {
            WindowSession session(window);
            session.Show();
            session.Run(kThreadsGrace);
          });
        },
        [&](const std::string& text) { host.ShowErrorBox(text); });
  };
  return StartInstaller(argumentCount, steps);
}

}  // namespace ostrel::app
