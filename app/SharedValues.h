// The installer's shared values, one of each for the whole program. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

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

namespace ostrel::app {
// The folder of the running executable as a Windows path ending in "\".
std::string ExecutableFolder();
}  // namespace ostrel::app
