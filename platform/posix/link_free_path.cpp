#include "platform/posix/link_free_path.h"

#include "platform/host_path.h"

namespace platform::posix {
namespace {

// Appends the names of text split at any of separators; false for a ".." above a relative start.
bool AddNames(const std::string& text, const char* separators, bool absolute, std::vector<std::string>& names) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(separators, start);
    if (end == std::string::npos) end = text.size();
    const std::string name = text.substr(start, end - start);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      else if (!absolute) return false;
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

RootedPath SplitRooted(const std::string& path) {
  RootedPath out;
  if (path.empty()) return out;
  if (IsCurrentDriveRooted(path)) return SplitRooted("C:" + path);
  if (HasDriveLetter(path)) {
    out.root = HostPath(path.substr(0, 2));  // "<prefix>/dosdevices/d:/"
    out.valid = AddNames(path.substr(2), "\\/", true, out.names);
    return out;
  }
  const std::string host = HostPath(path);
  const bool absolute = host[0] == '/';
  out.root = std::string(1, absolute ? '/' : '.');
  out.valid = AddNames(host, "/", absolute, out.names);
  return out;
}

Folder OpenRooted(const RootedPath& path, size_t count, bool create, unsigned permissions) {
  if (!path.valid || count > path.names.size()) return Folder();
  Folder folder = Folder::Open(path.root);
  for (size_t i = 0; i < count && folder.IsOpen(); ++i) folder = folder.OpenChild(path.names[i], create, permissions);
  return folder;
}

}  // namespace platform::posix
