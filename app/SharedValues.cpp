#include "app/SharedValues.h"

#include "platform/host_path.h"

std::string InstallDrive;
std::string StagingDir;
std::string InstallDir;
std::string NewVersion;
std::string PackageName;
std::string PackageURL;
std::string PackageCRC;
bool UseWebServer = false;
bool BaseServiceFallback = false;
int64_t WorkTotal = 0;
std::shared_ptr<ostrel::app::WindowThreadCaller> NotifyWindow;

namespace ostrel::app {

std::string ExecutableFolder() {
  std::string path = platform::ExecutableWindowsPath();
  const size_t sep = path.find_last_of('\\');
  if (sep == std::string::npos) return "Z:\\";
  return path.substr(0, sep + 1);
}

void ResetSharedValues() {
  AppDir.clear();
  InstallDrive.clear();
  StagingDir.clear();
  InstallDir.clear();
  NewVersion.clear();
  PackageName.clear();
  PackageURL.clear();
  PackageCRC.clear();
  UseWebServer = false;
  BaseServiceFallback = false;
  WorkTotal = 0;
  NotifyWindow.reset();
}

}  // namespace ostrel::app
