#include "platform/posix/fd_io.h"

#include <unistd.h>

#include <cerrno>

namespace platform::posix {

bool WriteAll(int fd, const void* data, size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, next, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    next += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace platform::posix
