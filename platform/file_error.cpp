#include "platform/file.h"

namespace platform {

const char* FileErrorText(FileError error) {
  switch (error) {
    case FileError::None: return "no error";
    case FileError::NotFound: return "no such file or folder";
    case FileError::NotRegular: return "not a regular file";
    case FileError::Exists: return "the file exists already";
    case FileError::NoSpace: return "no space left on the device";
    case FileError::TooLarge: return "the file is too large";
    case FileError::Io: return "input/output error";
  }
  return "unknown error";
}

}  // namespace platform
