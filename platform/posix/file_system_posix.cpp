// The file operations on Windows path texts, each through folders entered from
// the drive root without following a link.
#include "platform/file_system.h"

#include "platform/ascii_case.h"
#include "platform/host_path.h"
#include "platform/posix/link_free_path.h"
#include "platform/posix/prefix.h"

namespace platform {
namespace {

using posix::RootedPath;
using Kind = Folder::EntryKind;

bool EndsWithZip(std::string_view name) { return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".zip"); }

// What is at the path's last name, looked at from its folder; Missing for a drive root.
Kind KindAt(const RootedPath& path) {
  if (!path.valid || path.names.empty()) return Kind::Missing;
  return posix::OpenRooted(path, path.names.size() - 1, false).Inspect(path.names.back()).kind;
}

}  // namespace

bool FileExists(const std::string& path) { return KindAt(posix::SplitRooted(path)) == Kind::File; }

bool DirectoryExists(const std::string& path) {
  const RootedPath rooted = posix::SplitRooted(path);
  if (rooted.valid && rooted.names.empty()) return Folder::Open(rooted.root).IsOpen();  // a drive root
  return KindAt(rooted) == Kind::Folder;
}

Folder OpenFolderNoLinks(const std::string& dir, bool create) {
  if (create && (HasDriveLetter(dir) || IsCurrentDriveRooted(dir))) posix::EnsurePrefix();
  const RootedPath rooted = posix::SplitRooted(dir);
  return posix::OpenRooted(rooted, rooted.names.size(), create, 0755);
}

bool ForceDirectories(const std::string& dir) { return OpenFolderNoLinks(dir, true).IsOpen(); }

bool RemoveFile(const std::string& path) {
  const RootedPath rooted = posix::SplitRooted(path);
  if (!rooted.valid || rooted.names.empty()) return false;
  // unlinkat without AT_REMOVEDIR leaves a folder alone.
  return posix::OpenRooted(rooted, rooted.names.size() - 1, false).Remove(rooted.names.back());
}

int DeleteZipFiles(const std::string& folder) {
  const Folder dir = OpenFolderNoLinks(folder, false);
  int deleted = 0;
  for (const std::string& name : dir.Names())
    if (EndsWithZip(name) && dir.Remove(name)) ++deleted;
  return deleted;
}

bool IsLinkFreeFolder(const std::string& dir) {
  const RootedPath rooted = posix::SplitRooted(dir);
  Folder folder = posix::OpenRooted(rooted, 0, false);
  for (size_t i = 0; i < rooted.names.size() && folder.IsOpen(); ++i) {
    Folder child = folder.OpenChild(rooted.names[i], false);
    if (!child.IsOpen()) return folder.Inspect(rooted.names[i]).kind == Kind::Missing;
    folder = std::move(child);
  }
  return folder.IsOpen();
}

}  // namespace platform
