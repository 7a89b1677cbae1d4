// InstKeloPro: the speed installer. Without an argument it hands over to an elevated copy of
// itself ("UAC") and ends; with one it shows the installer window and runs until it closes.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "app/RunInstaller.h"
#include "app/StartUp.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/Win32Window.h"
#include "platform/win32/wide_text.h"

namespace {

int ArgumentCount() {
  int count = 0;
  if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) LocalFree(arguments);
  return count > 0 ? count - 1 : 0;
}

void ErrorBox(HWND owner, const std::string& text) {
  MessageBoxW(owner, platform::win32::Wide(text).c_str(), platform::win32::Wide(ostrel::app::kApplicationTitle).c_str(),
              MB_OK | MB_ICONERROR);
}

class Win32Program : public ostrel::app::ProgramHost {
 public:
  void TellStartProblem(const std::string& text) override { ErrorBox(nullptr, text); }
  platform::WindowHandle PromptOwner() override { return reinterpret_cast<platform::WindowHandle>(Application().Handle()); }
  void RunWindow(const std::function<void(ostrel::app::SessionHost&)>& session) override {
    // COM for the shortcut writer and the folder dialog, before the installer window exists.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      ostrel::app::win32::Win32Window window(Application().Handle());
      Application().ShowTaskbarEntry();
      session(window);
    }
    if (SUCCEEDED(com)) CoUninitialize();
  }
  void ShowErrorBox(const std::string& text) override { ErrorBox(Application().Handle(), text); }

 private:
  // Made once the servers are known good: the owner of every window of the program.
  ostrel::app::win32::ApplicationWindow& Application() {
    if (!application_) application_.emplace();
    return *application_;
  }

  std::optional<ostrel::app::win32::ApplicationWindow> application_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Win32Program program;
  return ostrel::app::RunInstaller(ArgumentCount(), program);
}
