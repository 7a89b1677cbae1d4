// The names of the plain files in a folder.
#include "platform/file_system.h"

namespace platform {

std::vector<std::string> ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  const Folder opened = OpenFolderNoLinks(folder, false);
  if (!opened.IsOpen()) return names;
  for (std::string& name : opened.Names())
    if (opened.Inspect(name).kind == Folder::EntryKind::File) names.push_back(std::move(name));
  return names;
}

}  // namespace platform
