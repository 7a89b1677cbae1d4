// InstKeloPro: the speed installer. Without an argument it hands over to an elevated copy of
// itself ("UAC") and ends; with one it shows the installer window and runs until it closes.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <chrono>
#include <string>

#include "app/Servers.h"
#include "app/StartUp.h"
#include "app/WindowSession.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/Win32Window.h"
#include "platform/host_path.h"
#include "platform/win32/wide_text.h"
#include "support/WindowsSysVersion.h"
#include "support/pubShare.h"

namespace {

// How long the ended window waits for the threads of its download jobs.
constexpr std::chrono::seconds kThreadsGrace{3};

int ArgumentCount() {
  int count = 0;
  if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) LocalFree(arguments);
  return count > 0 ? count - 1 : 0;
}

void RunWindow(ostrel::app::win32::ApplicationWindow& application) {
  // COM for the shortcut writer and the folder dialog, before the installer window exists.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    ostrel::app::win32::Win32Window window(application.Handle());
    ostrel::app::WindowSession session(window);
    application.ShowTaskbarEntry();
    session.Show();
    session.Run(kThreadsGrace);
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::InitPrefix();
  if (const std::string problem = ostrel::app::CheckServers(); !problem.empty()) {
    MessageBoxW(nullptr, platform::win32::Wide("InstKeloPro: " + problem).c_str(),
                platform::win32::Wide(ostrel::app::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    return 1;
  }
  ostrel::app::win32::ApplicationWindow application;
  ostrel::app::StartUpSteps steps;
  steps.sysVersion = [] { return GetSysVersion(); };
  steps.relaunch = [&](const std::string& file, const std::string& params) {
    RunAsAdmin(reinterpret_cast<platform::WindowHandle>(application.Handle()), file, params);
  };
  steps.executable = [] { return platform::ExecutablePath(); };
  steps.runWindow = [&] {
    ostrel::app::RunHandler([&] { RunWindow(application); }, [&](const std::string& text) {
      MessageBoxW(application.Handle(), platform::win32::Wide(text).c_str(),
                  platform::win32::Wide(ostrel::app::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    });
  };
  return ostrel::app::StartInstaller(ArgumentCount(), steps);
}
