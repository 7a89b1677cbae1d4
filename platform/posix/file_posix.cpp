#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file.h"
#include "platform/folder.h"
#include "platform/posix/system_error.h"

namespace platform {
namespace {

int OpenFlags(File::Mode mode) {
  switch (mode) {
    case File::Mode::Read: return O_RDONLY;
    case File::Mode::WriteExisting: return O_RDWR;
    case File::Mode::CreateOrTruncate: return O_RDWR | O_CREAT;
    case File::Mode::CreateNew: return O_RDWR | O_CREAT | O_EXCL;
  }
  return O_RDONLY;
}

int Fd(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

File File::OpenIn(const Folder* folder, const std::string& name, Mode mode, unsigned permissions) {
  File file;
  const int dirFd = folder ? Fd(folder->handle_) : AT_FDCWD;
  int fd;
  do {
    // Non-blocking, so that a FIFO or a device never holds the open up.
    fd = ::openat(dirFd, name.c_str(), OpenFlags(mode) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                  static_cast<mode_t>(permissions & 07777));
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    file.Fail(errno);
    return file;
  }
  struct stat st;
  const bool statted = ::fstat(fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode)) {
    const int err = !statted ? errno : S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    ::close(fd);
    file.Fail(err);
    return file;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  // Truncation waits for the check: a FIFO or device is never touched.
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      (mode == Mode::CreateOrTruncate && st.st_size != 0 && ::ftruncate(fd, 0) != 0)) {
    const int err = errno;
    ::close(fd);
    file.Fail(err);
    return file;
  }
  file.handle_ = fd;
  return file;
}

bool File::Fail(int systemError) {
  systemError_ = systemError;
  error_ = posix::FileErrorFromErrno(systemError);
  return false;
}

uint32_t File::WindowsErrorCode() const { return posix::WindowsErrorFromErrno(systemError_); }

bool File::Close() {
  if (!IsOpen()) return true;
  const int fd = Fd(handle_);
  handle_ = kNoHandle;
  // After close() the descriptor is gone whatever it says: never retried.
  return ::close(fd) == 0 || errno == EINTR || Fail(errno);
}

}  // namespace platform
