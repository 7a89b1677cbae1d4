#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ascii_case.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/posix/prefix.h"

namespace platform {
namespace {

bool StatHost(const std::string& hostPath, struct stat& st) { return ::stat(hostPath.c_str(), &st) == 0; }

bool EndsWithZip(std::string_view name) { return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".zip"); }

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && StatHost(HostPath(path), st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && StatHost(HostPath(path), st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& dir) {
  if (dir.empty()) return false;
  if (HasDriveLetter(dir) || IsCurrentDriveRooted(dir)) {
    posix::EnsurePrefix();
    const std::string root = IsCurrentDriveRooted(dir) ? std::string("C:\\") : dir.substr(0, 2) + "\\";
    if (!DirectoryExists(root)) return false;  // a missing drive stays missing
  }
  return MakeFolders(HostPath(dir), 0755);
}

bool RemoveFile(const std::string& path) {
  if (path.empty()) return false;
  struct stat st;
  const std::string host = HostPath(path);
  if (::lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(host.c_str()) == 0;
}

int DeleteZipFiles(const std::string& folder) {
  if (folder.empty()) return 0;
  const std::string host = HostPath(folder);
  DIR* d = ::opendir(host.c_str());
  if (!d) return 0;
  int deleted = 0;
  while (const dirent* e = ::readdir(d)) {
    if (!EndsWithZip(e->d_name)) continue;
    const std::string file = host + "/" + e->d_name;
    struct stat st;
    if (::lstat(file.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    if (::unlink(file.c_str()) == 0) ++deleted;
  }
  ::closedir(d);
  return deleted;
}

}  // namespace platform
