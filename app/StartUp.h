// The program's start: the elevation decision, and the way an error that escapes one of the
// window's handlers is told to the user.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ostrel::app {

// The application's title: the taskbar entry and the caption of the error box.
inline constexpr std::string_view kApplicationTitle = "Ostrel";
// The parameter of the elevated copy.
inline constexpr std::string_view kElevatedArgument = "UAC";

// The silent abort: a handler that throws it ends its event quietly, no box is shown.
class EAbort : public std::runtime_error {
 public:
  EAbort() : std::runtime_error("Operation aborted") {}
};

// True when a start must hand over to an elevated copy: no argument, and the system is neither
// Windows XP (6) nor XP Professional x64 (7).
bool MustRelaunchElevated(int argumentCount, uint8_t sysVersion);

struct StartUpSteps {
  std::function<uint8_t()> sysVersion;                                     // GetSysVersion
  std::function<void(const std::string& file, const std::string& params)> relaunch;  // RunAsAdmin
  std::function<std::string()> executable;                                 // the running program's path
  std::function<void()> runWindow;  // shows the window and runs its events until it closes
};

// The start: either the relaunch or the window. The exit code, 0 on every path.
int StartInstaller(int argumentCount, const StartUpSteps& steps);

// The error box's text: the message, with "." appended when its last character sorts after ".".
std::string ErrorBoxText(std::string_view message);

// Runs one event's handler. An error that escapes it is passed to showError as the error box's
// text (nothing for the silent abort); the caller goes on.
void RunHandler(const std::function<void()>& handler, const std::function<void(const std::string&)>& showError);

}  // namespace ostrel::app
