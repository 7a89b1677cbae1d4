// What a File is on every platform: its moves and the reasons of its failures.
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
    case FileError::InUse: return "another program holds it open";
    case FileError::Io: return "input/output error";
  }
  return "unknown error";
}

File File::Open(const std::string& hostPath, Mode mode, unsigned permissions) {
  return OpenIn(nullptr, hostPath, mode, permissions);
}

File::~File() { Close(); }

File::File(File&& other) noexcept
    : handle_(other.handle_), error_(other.error_), systemError_(other.systemError_) {
  other.handle_ = kNoHandle;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    error_ = other.error_;
    systemError_ = other.systemError_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

}  // namespace platform
