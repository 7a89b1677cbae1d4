#include "platform/rooted_path.h"

namespace platform {

bool AddRootedNames(const std::string& text, const char* separators, bool absolute, std::vector<std::string>& names) {
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

Folder OpenRooted(const RootedPath& path, size_t count, bool create) {
  if (!path.valid || count > path.names.size()) return Folder();
  Folder folder = Folder::Open(path.root);
  for (size_t i = 0; i < count && folder.IsOpen(); ++i) folder = folder.OpenChild(path.names[i], create);
  return folder;
}

}  // namespace platform
