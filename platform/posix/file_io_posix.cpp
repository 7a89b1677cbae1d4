// Reading, writing and sizing an open File.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file.h"
#include "platform/file_events.h"

namespace platform {
namespace {

int Fd(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

bool File::WriteAt(const void* data, size_t size, int64_t offset) {
  if (!IsOpen() || offset < 0) return Fail(IsOpen() ? EINVAL : EBADF);
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(Fd(handle_), next, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : EIO);
    next += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

bool File::Write(const void* data, size_t size) {
  if (!IsOpen()) return Fail(EBADF);
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(Fd(handle_), next, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : EIO);
    next += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

int64_t File::ReadAt(void* data, size_t size, int64_t offset) {
  if (!IsOpen() || offset < 0) return Fail(IsOpen() ? EINVAL : EBADF), -1;
  char* next = static_cast<char*>(data);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ::pread(Fd(handle_), next + got, size - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(errno), -1;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(got);
}

int64_t File::Read(void* data, size_t size) {
  if (!IsOpen()) return Fail(EBADF), -1;
  for (;;) {
    const ssize_t n = ::read(Fd(handle_), data, size);
    if (n >= 0) return n;
    if (errno != EINTR) return Fail(errno), -1;
  }
}

int64_t File::Length() const {
  struct stat st;
  if (!IsOpen() || ::fstat(Fd(handle_), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool File::SetLength(int64_t size) {
  if (!IsOpen() || size < 0) return Fail(EINVAL);
  while (::ftruncate(Fd(handle_), static_cast<off_t>(size)) != 0)
    if (errno != EINTR) return Fail(errno);
  return true;
}

bool File::Reserve(int64_t size) {
  if (!IsOpen() || size < 0) return Fail(EINVAL);
  if (size > 0) {
    int rc;
    do {
      rc = ::fallocate(Fd(handle_), 0, 0, static_cast<off_t>(size));
    } while (rc != 0 && errno == EINTR);
    // File systems without allocation ahead get the length only.
    if (rc != 0 && errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) return Fail(errno);
  }
  return SetLength(size);  // also cuts a longer file down
}

bool File::Sync() {
  if (!IsOpen()) return Fail(EBADF);
  while (::fdatasync(Fd(handle_)) != 0)
    if (errno != EINTR) return Fail(errno);
  struct stat st;
  if (::fstat(Fd(handle_), &st) == 0) ReportFileEvent(FileEvent::kDataSynced, st.st_ino);
  return true;
}

bool File::SetModifiedTime(int64_t unixSeconds) {
  if (!IsOpen()) return Fail(EBADF);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_NOW;
  times[1].tv_sec = static_cast<time_t>(unixSeconds);
  times[1].tv_nsec = 0;
  return ::futimens(Fd(handle_), times) == 0 || Fail(errno);
}

void File::AdviseSequentialRead() {
  if (IsOpen()) ::posix_fadvise(Fd(handle_), 0, 0, POSIX_FADV_SEQUENTIAL);
}

}  // namespace platform
