#include <sys/stat.h>

#include "platform/drives.h"
#include "platform/file.h"
#include "platform/host_path.h"
#include "platform/posix/prefix.h"
#include "platform/posix/shell_link_format.h"
#include "platform/shell_link.h"

namespace platform {
namespace {

constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;

uint64_t FileTime(const struct timespec& ts) {
  if (ts.tv_sec < -11644473600LL) return 0;
  return static_cast<uint64_t>(ts.tv_sec + 11644473600LL) * 10000000u + static_cast<uint64_t>(ts.tv_nsec) / 100u;
}

}  // namespace

ShellLinkResult SaveShellLink(const ShellLink& link, const std::string& file) {
  posix::EnsurePrefix();
  posix::ShellLinkData data;
  data.target = link.path;
  data.workingDirectory = link.workingDirectory;
  data.description = link.description;
  data.arguments = link.arguments;
  data.driveType = HasDriveLetter(link.path) ? GetDriveTypeA(link.path.substr(0, 2) + "\\") : kDriveUnknown;
  // Like IShellLink::SetPath: the target's attributes, size and times when it exists.
  struct stat st;
  if (::stat(HostPath(link.path).c_str(), &st) == 0) {
    data.fileAttributes = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
    data.fileSize = S_ISDIR(st.st_mode) ? 0 : static_cast<uint32_t>(st.st_size);
    data.creationTime = FileTime(st.st_mtim);
    data.accessTime = FileTime(st.st_atim);
    data.writeTime = FileTime(st.st_mtim);
  }
  const std::string bytes = posix::BuildShellLink(data);
  if (bytes.empty() || file.empty()) return ShellLinkResult::kSaveFailed;
  return ReplaceFileAtomically(HostPath(file), bytes) ? ShellLinkResult::kOk : ShellLinkResult::kSaveFailed;
}

}  // namespace platform
