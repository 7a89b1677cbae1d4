#include "support/BrowseForFolderU.h"

#include "platform/host_path.h"

std::string BrowseInitialDir;

std::string BrowseForFolder(const std::string& title, const std::string& initialFolder, const FolderDialog& dialog) {
  BrowseInitialDir = initialFolder;
  const std::optional<std::string> chosen = dialog ? dialog(title, BrowseInitialDir) : std::nullopt;
  if (!chosen || chosen->empty()) return {};
  std::string path = *chosen;
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (platform::HasDriveLetter(path) && path.size() == 2) path += '\\';  // "D:" is the root "D:\"
  return path;
}
