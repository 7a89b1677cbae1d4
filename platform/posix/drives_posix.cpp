// Drives are the entries of <prefix>/dosdevices: each letter that leads to a
// folder is a fixed drive with the free space of the host file system under
// it, except z: -> "/", which stands for the whole host and counts as a
// network drive so that nothing is ever proposed there.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/ascii_case.h"
#include "platform/drives.h"
#include "platform/host_path.h"
#include "platform/posix/prefix.h"

namespace platform {
namespace {

// "X:\", "X:/" or "X:" -> the dosdevices entry; empty for anything else.
std::string DriveEntry(const std::string& root) {
  if (!HasDriveLetter(root) || root.size() > 3) return {};
  std::string entry = PrefixDir() + "/dosdevices/";
  entry += AsciiLower(root[0]);
  entry += ':';
  return entry;
}

bool PointsAtHostRoot(const std::string& entry) {
  char* resolved = ::realpath(entry.c_str(), nullptr);
  if (!resolved) return false;
  const bool isRoot = std::string(resolved) == "/";
  std::free(resolved);
  return isRoot;
}

}  // namespace

std::string GetWindowsDirectoryA(size_t bufferSize) {
  if (!posix::EnsurePrefix()) return {};
  const std::string dir = posix::kWindowsDirText;
  if (dir.size() + 1 > bufferSize) return {};
  return dir;
}

unsigned GetDriveTypeA(const std::string& root) {
  posix::EnsurePrefix();
  const std::string entry = DriveEntry(root);
  if (entry.empty()) return kDriveNoRootDir;
  struct stat st;
  if (::stat(entry.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kDriveNoRootDir;
  return PointsAtHostRoot(entry) ? kDriveRemote : kDriveFixed;
}

bool GetDiskFreeSpaceA(const std::string& root, DiskFreeSpace& out) {
  out = {};
  posix::EnsurePrefix();
  const std::string entry = DriveEntry(root);
  struct statvfs vfs;
  if (entry.empty() || ::statvfs((entry + "/").c_str(), &vfs) != 0) return false;
  uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  uint64_t bytesPerSector = 512, sectorsPerCluster = unit / 512;
  if (unit % 512 != 0 || sectorsPerCluster == 0) bytesPerSector = unit, sectorsPerCluster = 1;
  uint64_t freeClusters = vfs.f_bavail, totalClusters = vfs.f_blocks;
  // Counts are 32 bits wide: grow the cluster until they fit.
  while (totalClusters > UINT32_MAX || freeClusters > UINT32_MAX) {
    sectorsPerCluster *= 2, totalClusters /= 2, freeClusters /= 2;
  }
  if (sectorsPerCluster > UINT32_MAX || bytesPerSector > UINT32_MAX) return false;
  out.sectorsPerCluster = static_cast<uint32_t>(sectorsPerCluster);
  out.bytesPerSector = static_cast<uint32_t>(bytesPerSector);
  out.freeClusters = static_cast<uint32_t>(freeClusters);
  out.totalClusters = static_cast<uint32_t>(totalClusters);
  return true;
}

}  // namespace platform
