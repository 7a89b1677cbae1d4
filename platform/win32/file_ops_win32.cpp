// Renames, queries and folders on host paths through the Windows calls.
#include <windows.h>

#include "platform/file.h"
#include "platform/file_events.h"
#include "platform/win32/folder_state.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

using win32::WidePath;

FileError LastFileError() { return win32::FileErrorFromWin32(GetLastError()); }

bool Attributes(const std::string& hostPath, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return GetFileAttributesExW(WidePath(hostPath).c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

std::optional<uint64_t> FileIdOf(const std::string& hostPath) {
  const HANDLE h = CreateFileW(WidePath(hostPath).c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = win32::HandleInfo(h, info);
  CloseHandle(h);
  if (!known) return std::nullopt;
  return (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

FileError RenameNoReplace(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING a taken name fails; write-through: on the disk when it returns.
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH) ? FileError::None
                                                                                         : LastFileError();
}

FileError RenameReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? FileError::None
             : LastFileError();
}

int64_t RegularFileLength(const std::string& hostPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(hostPath, data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))
    return -1;
  return static_cast<int64_t>((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
}

bool PathExists(const std::string& hostPath) {
  return GetFileAttributesW(WidePath(hostPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RemovePath(const std::string& hostPath) {
  const std::wstring path = WidePath(hostPath);
  const DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  if (a & FILE_ATTRIBUTE_DIRECTORY) return (a & FILE_ATTRIBUTE_REPARSE_POINT) && RemoveDirectoryW(path.c_str());
  return DeleteFileW(path.c_str()) != 0;
}

// NTFS journals a folder's entries, and the renames above are written through: there is
// nothing left to flush. True when the folder is there.
bool SyncFolder(const std::string& hostDir) {
  const DWORD a = GetFileAttributesW(WidePath(hostDir).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& hostDir, unsigned) {
  const std::wstring path = WidePath(hostDir);
  if (path.empty()) return false;
  const auto isFolder = [](const std::wstring& p) {
    const DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  };
  if (isFolder(path)) return true;
  // Below the "\\?\C:\" or "\\?\UNC\server\share\" root, one name at a time.
  size_t pos = path.rfind(L"\\\\?\\UNC\\", 0) == 0 ? path.find(L'\\', path.find(L'\\', 8) + 1) : 6;
  while (pos != std::wstring::npos && pos < path.size()) {
    pos = path.find(L'\\', pos + 1);
    const std::wstring part = path.substr(0, pos);
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return isFolder(path);
}

}  // namespace platform
