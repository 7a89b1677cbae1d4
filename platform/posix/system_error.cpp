#include "platform/posix/system_error.h"

#include <cerrno>

namespace platform::posix {

FileError FileErrorFromErrno(int err) {
  switch (err) {
    case 0: return FileError::None;
    case ENOENT: case ENOTDIR: return FileError::NotFound;
    case ELOOP: case EISDIR: case ENXIO: case ENODEV: return FileError::NotRegular;
    case EEXIST: case ENOTEMPTY: return FileError::Exists;
    case ENOSPC: case EDQUOT: return FileError::NoSpace;
    case EFBIG: case EOVERFLOW: return FileError::TooLarge;
    case ETXTBSY: return FileError::InUse;
    default: return FileError::Io;
  }
}

uint32_t WindowsErrorFromErrno(int err) {
  switch (err) {
    case 0: return 0;
    case ENOENT: return 2;                           // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return 3;                          // ERROR_PATH_NOT_FOUND
    case EMFILE: case ENFILE: return 4;              // ERROR_TOO_MANY_OPEN_FILES
    case EACCES: case EPERM: case EISDIR: return 5;  // ERROR_ACCESS_DENIED
    case ENOMEM: return 8;                           // ERROR_NOT_ENOUGH_MEMORY
    case EROFS: return 19;                           // ERROR_WRITE_PROTECT
    case ENXIO: case ENODEV: return 21;              // ERROR_NOT_READY
    case EIO: return 30;                             // ERROR_READ_FAULT
    case EBUSY: case ETXTBSY: return 32;             // ERROR_SHARING_VIOLATION
    case EEXIST: return 80;                          // ERROR_FILE_EXISTS
    case EINVAL: return 87;                          // ERROR_INVALID_PARAMETER
    case ENOSPC: case EDQUOT: return 112;            // ERROR_DISK_FULL
    case ENAMETOOLONG: return 206;                   // ERROR_FILENAME_EXCED_RANGE
    case EOVERFLOW: case EFBIG: return 223;          // ERROR_FILE_TOO_LARGE
    case ELOOP: return 1921;                         // ERROR_CANT_RESOLVE_FILENAME
    default: return 31;                              // ERROR_GEN_FAILURE
  }
}

}  // namespace platform::posix
