// Where a walk starts on Linux: a drive's entry in the prefix, "/" or the working folder.
#include "platform/host_path.h"
#include "platform/posix/prefix.h"
#include "platform/rooted_path.h"

namespace platform {

RootedPath SplitRooted(const std::string& path) {
  RootedPath out;
  if (path.empty()) return out;
  if (IsCurrentDriveRooted(path)) return SplitRooted("C:" + path);
  if (HasDriveLetter(path)) {
    posix::EnsurePrefix();  // a new prefix has its drives made first
    out.root = HostPath(path.substr(0, 2));  // "<prefix>/dosdevices/d:/"
    out.valid = AddRootedNames(path.substr(2), "\\/", true, out.names);
    return out;
  }
  const std::string host = HostPath(path);
  const bool absolute = host[0] == '/';
  out.root = std::string(1, absolute ? '/' : '.');
  out.valid = AddRootedNames(host, "/", absolute, out.names);
  return out;
}

}  // namespace platform
