#include "platform/win32/system_error.h"

#include <windows.h>

namespace platform::win32 {

FileError FileErrorFromWin32(uint32_t error) {
  switch (error) {
    case ERROR_SUCCESS: return FileError::None;
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE: case ERROR_BAD_NETPATH:
      return FileError::NotFound;
    case ERROR_CANT_RESOLVE_FILENAME: case ERROR_DIRECTORY: case ERROR_NOT_READY: case ERROR_BAD_PIPE:
    case ERROR_PIPE_BUSY: case ERROR_REPARSE_TAG_INVALID:
      return FileError::NotRegular;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS: case ERROR_DIR_NOT_EMPTY: return FileError::Exists;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return FileError::NoSpace;
    case ERROR_FILE_TOO_LARGE: case ERROR_ARITHMETIC_OVERFLOW: return FileError::TooLarge;
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return FileError::InUse;
    default: return FileError::Io;
  }
}

}  // namespace platform::win32
