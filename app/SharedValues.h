// The installer's shared values, one of each for the whole program. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/FormHost.h"
#include "skin/AppDir.h"  // AppDir

extern std::string InstallDrive;
extern std::string StagingDir;
extern std::string InstallDir;
extern std::string NewVersion;
extern std::string PackageName;
extern std::string PackageURL;
extern std::string PackageCRC;
extern bool UseWebServer;
extern bool BaseServiceFallback;
extern int64_t WorkTotal;
// The window's way in for the engine's failure notices, recorded when it is shown.
extern std::shared_ptr<ostrel::app::WindowThreadCaller> NotifyWindow;

namespace ostrel::app {
// The folder of the running executable as a Windows path ending in "\" (a host folder outside
// the prefix's drives is on Z:).
std::string ExecutableFolder();
// Every shared value back to its value at start (tests that run the flow more than once).
void ResetSharedValues();
}  // namespace ostrel::app
