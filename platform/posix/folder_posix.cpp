#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder.h"

namespace platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

int Fd(intptr_t handle) { return static_cast<int>(handle); }

int OpenChildFolder(int parentFd, const char* name, bool create, unsigned permissions) {
  int fd = ::openat(parentFd, name, kFolderFlags | O_NOFOLLOW);
  if (fd >= 0 || errno != ENOENT || !create) return fd;
  if (::mkdirat(parentFd, name, static_cast<mode_t>(permissions & 07777)) != 0 && errno != EEXIST) return -1;
  return ::openat(parentFd, name, kFolderFlags | O_NOFOLLOW);
}

}  // namespace

Folder Folder::Open(const std::string& hostPath) { return Folder(::open(hostPath.c_str(), kFolderFlags)); }

Folder::~Folder() {
  if (IsOpen()) ::close(Fd(handle_));
}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (IsOpen()) ::close(Fd(handle_));
    handle_ = other.handle_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

Folder Folder::OpenChild(const std::string& name, bool create, unsigned permissions) const {
  if (!IsOpen()) return Folder();
  const int fd = OpenChildFolder(Fd(handle_), name.c_str(), create, permissions);
  return fd >= 0 ? Folder(fd) : Folder();
}

std::vector<std::string> Folder::Names() const {
  std::vector<std::string> names;
  // The listing gets its own descriptor: closedir closes it, and this folder's stays.
  const int fd = IsOpen() ? ::openat(Fd(handle_), ".", kFolderFlags) : -1;
  DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
  if (!dir) {
    if (fd >= 0) ::close(fd);
    return names;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

Folder::Entry Folder::Inspect(const std::string& name) const {
  Entry entry;
  struct stat st;
  if (!IsOpen()) return entry;
  if (::fstatat(Fd(handle_), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) entry.kind = EntryKind::Missing;
    return entry;
  }
  entry.kind = S_ISLNK(st.st_mode)   ? EntryKind::Link
               : S_ISREG(st.st_mode) ? EntryKind::File
               : S_ISDIR(st.st_mode) ? EntryKind::Folder
                                     : EntryKind::Other;
  entry.ownerMayWrite = (st.st_mode & S_IWUSR) != 0;
  // Only a plain "permission denied" says no; other failures leave the write to try.
  entry.writable = ::faccessat(Fd(handle_), name.c_str(), W_OK, AT_EACCESS) == 0 || errno != EACCES;
  return entry;
}

File Folder::CreateNewFile(const std::string& name, unsigned permissions) const {
  return File::OpenIn(this, name, File::Mode::CreateNew, permissions);
}

bool Folder::Rename(const std::string& from, const std::string& to) const {
  return IsOpen() && ::renameat(Fd(handle_), from.c_str(), Fd(handle_), to.c_str()) == 0;
}

bool Folder::Remove(const std::string& name) const {
  return IsOpen() && ::unlinkat(Fd(handle_), name.c_str(), 0) == 0;
}

}  // namespace platform
