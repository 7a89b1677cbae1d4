#include "support/ZipFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

ZipFd::~ZipFd() {
  if (fd_ >= 0) ::close(fd_);
}

ZipFd& ZipFd::operator=(ZipFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
  }
  return *this;
}

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

int OpenChildFolder(int parentFd, const std::string& name, bool create) {
  int fd = ::openat(parentFd, name.c_str(), kFolderFlags);
  if (fd >= 0 || errno != ENOENT || !create) return fd;
  if (::mkdirat(parentFd, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
  return ::openat(parentFd, name.c_str(), kFolderFlags);
}

}  // namespace

ZipFd OpenFolderBelow(int rootFd, const std::vector<std::string>& parts, size_t count, bool create) {
  ZipFd current(::openat(rootFd, ".", kFolderFlags));
  for (size_t i = 0; i < count && i < parts.size() && current.valid(); ++i)
    current = ZipFd(OpenChildFolder(current.get(), parts[i], create));
  return current;
}

bool MakeHostFolders(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (!MakeHostFolders(path.substr(0, slash))) return false;
  }
  if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  return false;
}

ZipFd OpenHostFolder(const std::string& path) {
  return ZipFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}
