// The file operations on Windows path texts, each through folders entered from their root
// without following a link.
#include "platform/file_system.h"

#include "platform/ascii_case.h"
#include "platform/rooted_path.h"

namespace platform {
namespace {

using Kind = Folder::EntryKind;

bool EndsWithZip(std::string_view name) { return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".zip"); }

// What is at the path's last name, looked at from its folder; Missing for a root.
Kind KindAt(const RootedPath& path) {
  if (!path.valid || path.names.empty()) return Kind::Missing;
  return OpenRooted(path, path.names.size() - 1, false).Inspect(path.names.back()).kind;
}

}  // namespace

bool FileExists(const std::string& path) { return KindAt(SplitRooted(path)) == Kind::File; }

bool DirectoryExists(const std::string& path) {
  const RootedPath rooted = SplitRooted(path);
  if (rooted.valid && rooted.names.empty()) return Folder::Open(rooted.root).IsOpen();  // a root
  return KindAt(rooted) == Kind::Folder;
}

Folder OpenFolderNoLinks(const std::string& dir, bool create) {
  const RootedPath rooted = SplitRooted(dir);
  return OpenRooted(rooted, rooted.names.size(), create);
}

bool ForceDirectories(const std::string& dir) { return OpenFolderNoLinks(dir, true).IsOpen(); }

bool RemoveFile(const std::string& path) {
  const RootedPath rooted = SplitRooted(path);
  if (!rooted.valid || rooted.names.empty()) return false;
  // Folder::Remove leaves a folder alone.
  return OpenRooted(rooted, rooted.names.size() - 1, false).Remove(rooted.names.back());
}

int DeleteZipFiles(const std::string& folder) {
  const Folder dir = OpenFolderNoLinks(folder, false);
  int deleted = 0;
  for (const std::string& name : dir.Names())
    if (EndsWithZip(name) && dir.Remove(name)) ++deleted;
  return deleted;
}

bool IsLinkFreeFolder(const std::string& dir) {
  const RootedPath rooted = SplitRooted(dir);
  Folder folder = OpenRooted(rooted, 0, false);
  for (size_t i = 0; i < rooted.names.size() && folder.IsOpen(); ++i) {
    Folder child = folder.OpenChild(rooted.names[i], false);
    if (!child.IsOpen()) return folder.Inspect(rooted.names[i]).kind == Kind::Missing;
    folder = std::move(child);
  }
  return folder.IsOpen();
}

std::vector<std::string> ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  const Folder opened = OpenFolderNoLinks(folder, false);
  for (std::string& name : opened.Names())
    if (opened.Inspect(name).kind == Kind::File) names.push_back(std::move(name));
  return names;
}

}  // namespace platform
