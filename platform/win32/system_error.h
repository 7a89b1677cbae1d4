// Windows error codes as the file layer reports them.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace platform::win32 {

FileError FileErrorFromWin32(uint32_t error);

}  // namespace platform::win32
