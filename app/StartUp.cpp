#include "app/StartUp.h"

namespace ostrel::app {

bool MustRelaunchElevated(int argumentCount, uint8_t sysVersion) {
  if (argumentCount > 0) return false;
  return sysVersion != 6 && sysVersion != 7;
}

int StartInstaller(int argumentCount, const StartUpSteps& steps) {
  if (MustRelaunchElevated(argumentCount, steps.sysVersion())) {
    steps.relaunch(steps.executable(), std::string(kElevatedArgument));  // neither waited for nor checked
    return 0;
  }
  steps.runWindow();
  return 0;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void RunHandler(const std::function<void()>& handler, const std::function<void(const std::string&)>& showError) {
  try {
    handler();
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    showError(ErrorBoxText(e.what()));
  } catch (...) {
    showError(ErrorBoxText("Unknown error"));
  }
}

}  // namespace ostrel::app
