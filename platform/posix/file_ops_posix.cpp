// Renames, queries and folders on host paths through the POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file.h"
#include "platform/file_events.h"
#include "platform/posix/system_error.h"

namespace platform {

std::optional<uint64_t> FileIdOf(const std::string& hostPath) {
  struct stat st;
  if (::lstat(hostPath.c_str(), &st) != 0) return std::nullopt;
  return static_cast<uint64_t>(st.st_ino);
}

FileError RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return FileError::None;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return posix::FileErrorFromErrno(errno);
  // No RENAME_NOREPLACE here: a hard link can't replace anything either.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return FileError::None;
  }
  if (errno == EEXIST) return FileError::Exists;
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) return FileError::Exists;
  return std::rename(from.c_str(), to.c_str()) == 0 ? FileError::None : posix::FileErrorFromErrno(errno);
}

FileError RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? FileError::None : posix::FileErrorFromErrno(errno);
}

int64_t RegularFileLength(const std::string& hostPath) {
  struct stat st;
  if (::lstat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool PathExists(const std::string& hostPath) {
  struct stat st;
  return ::lstat(hostPath.c_str(), &st) == 0;
}

bool RemovePath(const std::string& hostPath) { return ::unlink(hostPath.c_str()) == 0; }

bool SyncFolder(const std::string& hostDir) {
  const int fd = ::open(hostDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool MakeFolders(const std::string& hostDir, unsigned permissions) {
  struct stat st;
  const auto isFolder = [&] { return ::stat(hostDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode); };
  if (hostDir.empty()) return false;
  if (isFolder()) return true;
  for (size_t pos = 1;; ++pos) {
    pos = hostDir.find('/', pos);
    const std::string part = hostDir.substr(0, pos);
    if (::mkdir(part.c_str(), static_cast<mode_t>(permissions & 07777)) != 0 && errno != EEXIST) return isFolder();
    if (pos == std::string::npos) break;
  }
  return isFolder();
}

}  // namespace platform
