// Whole writes on a POSIX file descriptor.
#pragma once

#include <cstddef>

namespace platform::posix {

// Writes all size bytes, going on after short writes and EINTR; false on any other error.
bool WriteAll(int fd, const void* data, size_t size);

}  // namespace platform::posix
