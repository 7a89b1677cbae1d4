// Where a walk starts on Windows: a drive's root, a share, the current drive's root or the
// working folder.
#include "platform/host_path.h"
#include "platform/rooted_path.h"

namespace platform {
namespace {

// The length of "\\server\share" at the start of path, 0 when it isn't a share's path.
size_t ShareRootLength(const std::string& path) {
  if (path.size() < 2 || (path[0] != '\\' && path[0] != '/') || (path[1] != '\\' && path[1] != '/')) return 0;
  const size_t server = path.find_first_of("\\/", 2);
  if (server == std::string::npos || server == 2) return 0;
  const size_t share = path.find_first_of("\\/", server + 1);
  if (share == server + 1) return 0;
  return share == std::string::npos ? path.size() : share;
}

}  // namespace

RootedPath SplitRooted(const std::string& path) {
  RootedPath out;
  if (path.empty()) return out;
  if (HasDriveLetter(path)) {
    out.root = path.substr(0, 2) + "\\";
    out.valid = AddRootedNames(path.substr(2), "\\/", true, out.names);
  } else if (const size_t share = ShareRootLength(path)) {
    out.root = path.substr(0, share) + "\\";
    out.valid = AddRootedNames(path.substr(share), "\\/", true, out.names);
  } else if (path[0] == '\\' || path[0] == '/') {
    out.root = "\\";  // the current drive's root
    out.valid = AddRootedNames(path, "\\/", true, out.names);
  } else {
    out.root = ".";
    out.valid = AddRootedNames(path, "\\/", false, out.names);
  }
  return out;
}

}  // namespace platform
