#include "download/ReceiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <thread>

#include "download/ResumeNames.h"
#include "platform/host_path.h"

namespace download {

namespace {

bool TextExists(const std::string& pathText) { return FileExists(platform::HostPath(pathText)); }

// rename() that refuses to replace an existing file where the file system can tell; EEXIST then.
int RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
  return std::rename(from.c_str(), to.c_str());
}

}  // namespace

CreateResult CreateReceiveFile(const std::string& hostPath, int64_t size) {
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return CreateResult::CannotCreate;
  int rc;
  do {
    rc = ::ftruncate(fd, static_cast<off_t>(size));
  } while (rc != 0 && errno == EINTR);
  ::close(fd);
  return rc == 0 ? CreateResult::Ok : CreateResult::CannotSize;
}

int64_t FileLength(const std::string& hostPath) {
  struct stat info {};
  if (::stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool SetFileLength(const std::string& hostPath, int64_t size) {
  return ::truncate(hostPath.c_str(), static_cast<off_t>(size)) == 0;
}

bool FileExists(const std::string& hostPath) {
  struct stat info {};
  return ::lstat(hostPath.c_str(), &info) == 0;
}

std::string PutInPlace(const std::string& receiveHostPath, const std::string& target,
                       std::chrono::milliseconds retryFor) {
  const auto giveUpAt = std::chrono::steady_clock::now() + retryFor;
  for (;;) {
    const std::string finalName = FirstFreeName(target, TextExists);
    if (RenameNoReplace(receiveHostPath, platform::HostPath(finalName)) == 0) return finalName;
    if (std::chrono::steady_clock::now() >= giveUpAt) return {};
    // A name taken since we looked is passed over at once; other failures wait a little.
    if (errno != EEXIST) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace download
