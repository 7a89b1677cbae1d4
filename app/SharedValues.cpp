#include "app/SharedValues.h"

#include <filesystem>

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

namespace ostrel::app {

// Stands in until the platform layer maps host folders to Windows paths: the host folder
// on drive Z:, which maps to "/".
std::string ExecutableFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  std::string folder = error ? std::string("/") : exe.parent_path().generic_string();
  std::string windows = "Z:";
  for (char c : folder) windows += c == '/' ? '\\' : c;
  if (windows.back() != '\\') windows += '\\';
  return windows;
}

}  // namespace ostrel::app
