// InstKeloPro: the speed installer. Without an argument it hands over to an elevated copy of
// itself ("UAC") and ends; with one it shows the installer window and runs until it closes.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/Servers.h"
#include "app/StartUp.h"
#include "app/qt/InstallerSession.h"
#include "platform/host_path.h"
#include "support/WindowsSysVersion.h"
#include "support/pubShare.h"

namespace {

// How long the ended window waits for the threads of its download jobs.
constexpr std::chrono::seconds kThreadsGrace{3};

void RunWindow(int argc, char** argv) {
  ostrel::app::qt::InstallerSession session(argc, argv);
  session.Show();
  session.Run(kThreadsGrace);
}

}  // namespace

int main(int argc, char** argv) {
  platform::InitPrefix();
  if (const std::string problem = ostrel::app::CheckServers(); !problem.empty()) {
    std::fprintf(stderr, "InstKeloPro: %s\n", problem.c_str());
    return 1;
  }
  ostrel::app::StartUpSteps steps;
  steps.sysVersion = [] { return GetSysVersion(); };
  steps.relaunch = [](const std::string& file, const std::string& params) { RunAsAdmin(0, file, params); };
  steps.executable = [] { return platform::ExecutablePath(); };
  steps.runWindow = [&] { RunWindow(argc, argv); };
  return ostrel::app::StartInstaller(argc - 1, steps);
}
