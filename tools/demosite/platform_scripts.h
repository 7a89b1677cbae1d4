// The platform's programs in the demonstration package: small POSIX shell scripts under
// the Windows names, so that "open" on the installed launcher runs them directly.
#pragma once

#include <string>

namespace ostrel::demosite {

// The marker file the launcher writes beside itself, holding the time it ran.
inline constexpr const char* kLaunchMarker = "launched.txt";
// What the launcher prints.
inline constexpr const char* kLauncherGreeting = "OstrelPro launcher ran";

std::string LauncherScript();     // OstrelLauncher.exe
std::string MainProgramScript();  // OstrelMain.exe
std::string UninstallerScript();  // Uninstall/uninst.exe

}  // namespace ostrel::demosite
