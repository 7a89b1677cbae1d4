#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/folder.h"
#include "platform/posix/system_error.h"

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

File Folder::OpenForReading(const std::string& name) const { return File::OpenIn(this, name, File::Mode::Read, 0); }

bool Folder::Rename(const std::string& from, const std::string& to) const {
  return IsOpen() && ::renameat(Fd(handle_), from.c_str(), Fd(handle_), to.c_str()) == 0;
}

FileError Folder::RenameNoReplace(const std::string& from, const std::string& to) const {
  if (!IsOpen()) return FileError::NotFound;
  const int fd = Fd(handle_);
  if (::renameat2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return FileError::None;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return posix::FileErrorFromErrno(errno);
  // No RENAME_NOREPLACE on this file system: a hard link can't replace anything either.
  if (::linkat(fd, from.c_str(), fd, to.c_str(), 0) != 0) return posix::FileErrorFromErrno(errno);
  ::unlinkat(fd, from.c_str(), 0);
  return FileError::None;
}

// Unix permissions of a file bind its content, not its name: the folder's decide.
bool Folder::Remove(const std::string& name) const {
  return IsOpen() && ::unlinkat(Fd(handle_), name.c_str(), 0) == 0;
}

bool Folder::RemoveFolder(const std::string& name) const {
  return IsOpen() && ::unlinkat(Fd(handle_), name.c_str(), AT_REMOVEDIR) == 0;
}

// A file in use can always be removed here: nothing waits for a restart.
bool Folder::RemoveAtRestart(const std::string&) const { return false; }

bool Folder::SetHiddenAndSystem(const std::string&, bool, bool) const { return true; }

// Nothing here keeps a file from being renamed: no one to name.
std::string Folder::ProgramsHolding(const std::string&) const { return {}; }

}  // namespace platform
