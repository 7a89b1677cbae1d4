// errno values as the file layer reports them.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace platform::posix {

FileError FileErrorFromErrno(int err);

// The Windows error code a Windows file call would report for the same cause.
uint32_t WindowsErrorFromErrno(int err);

}  // namespace platform::posix
