// Opening and closing files: CreateFileW that never follows a reparse point in the last name
// and keeps only regular disk files.
#include <windows.h>

#include "platform/file.h"
#include "platform/folder.h"
#include "platform/win32/folder_state.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD Disposition(File::Mode mode) {
  switch (mode) {
    case File::Mode::Read: case File::Mode::WriteExisting: return OPEN_EXISTING;
    case File::Mode::CreateOrTruncate: return OPEN_ALWAYS;  // emptied after the check below
    case File::Mode::CreateNew: return CREATE_NEW;
  }
  return OPEN_EXISTING;
}

// Why a path that could not be opened failed: a folder there is "not regular", as on Linux.
DWORD OpenError(const std::wstring& path) {
  const DWORD error = GetLastError();
  if (error != ERROR_ACCESS_DENIED) return error;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_DIRECTORY
                                                                                          : error;
}

}  // namespace

File File::OpenIn(const Folder* folder, const std::string& name, Mode mode, unsigned permissions) {
  File file;
  std::wstring path;
  if (folder) {
    if (!folder->IsOpen() || !win32::IsPlainName(name)) {
      file.Fail(ERROR_INVALID_NAME);
      return file;
    }
    path = win32::Below(win32::StateOf(folder->handle_)->path, name);
  } else {
    path = win32::WidePath(name);
  }
  const DWORD access = mode == Mode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // Readers, writers and renames of others are let through, as on Linux.
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const DWORD attributes = (permissions & 0200) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
  const HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, Disposition(mode),
                               attributes | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    file.Fail(static_cast<int>(OpenError(path)));
    return file;
  }
  BY_HANDLE_FILE_INFORMATION info;
  DWORD error = ERROR_SUCCESS;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    error = ERROR_BAD_PIPE;
  } else if (!win32::HandleInfo(h, info)) {
    error = GetLastError();
  } else if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
    error = ERROR_CANT_RESOLVE_FILENAME;
  } else if (mode == Mode::CreateOrTruncate && (info.nFileSizeHigh | info.nFileSizeLow) != 0 &&
             !SetEndOfFile(h)) {  // the pointer is at 0 after the open
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    CloseHandle(h);
    file.Fail(static_cast<int>(error));
    return file;
  }
  file.handle_ = reinterpret_cast<intptr_t>(h);
  return file;
}

bool File::Fail(int systemError) {
  systemError_ = systemError;
  error_ = win32::FileErrorFromWin32(static_cast<uint32_t>(systemError));
  return false;
}

uint32_t File::WindowsErrorCode() const { return static_cast<uint32_t>(systemError_); }

bool File::Close() {
  if (!IsOpen()) return true;
  const HANDLE h = Handle(handle_);
  handle_ = kNoHandle;
  return CloseHandle(h) || Fail(static_cast<int>(GetLastError()));
}

}  // namespace platform
