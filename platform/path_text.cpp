// The forms of Windows path texts, the same on every system.
#include "platform/host_path.h"
#include "platform/text.h"

namespace platform {

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && IsAlpha(path[0]) && path[1] == ':' &&
         (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

bool IsCurrentDriveRooted(const std::string& path) {
  return path.size() >= 1 && path[0] == '\\' && (path.size() == 1 || path[1] != '\\') &&
         path.find('/') == std::string::npos;
}

size_t LastHostSeparator(const std::string& hostPath) {
#ifdef _WIN32
  return hostPath.find_last_of("\\/");
#else
  return hostPath.find_last_of('/');
#endif
}

}  // namespace platform
