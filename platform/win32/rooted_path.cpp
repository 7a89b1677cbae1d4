#include "platform/win32/rooted_path.h"

#include "platform/host_path.h"

namespace platform::win32 {
namespace {

// Appends the names of text; false for a ".." above a relative start.
bool AddNames(const std::string& text, bool absolute, std::vector<std::string>& names) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\\/", start);
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
    out.valid = AddNames(path.substr(2), true, out.names);
  } else if (const size_t share = ShareRootLength(path)) {
    out.root = path.substr(0, share) + "\\";
    out.valid = AddNames(path.substr(share), true, out.names);
  } else if (path[0] == '\\' || path[0] == '/') {
    out.root = "\\";  // the current drive's root
    out.valid = AddNames(path, true, out.names);
  } else {
    out.root = ".";
    out.valid = AddNames(path, false, out.names);
  }
  return out;
}

Folder OpenRooted(const RootedPath& path, size_t count, bool create) {
  if (!path.valid || count > path.names.size()) return Folder();
  Folder folder = Folder::Open(path.root);
  for (size_t i = 0; i < count && folder.IsOpen(); ++i) folder = folder.OpenChild(path.names[i], create);
  return folder;
}

}  // namespace platform::win32
