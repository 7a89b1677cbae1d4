#include "support/ZipFolders.h"

platform::Folder OpenFolderBelow(const platform::Folder& root, const std::vector<std::string>& parts, size_t count,
                                 bool create) {
  platform::Folder current = root.OpenChild(".", false);
  for (size_t i = 0; i < count && i < parts.size() && current.IsOpen(); ++i)
    current = current.OpenChild(parts[i], create);
  return current;
}
