#include "platform/win32/shared_read.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n == 0) return {};
    if (n < path.size()) return Utf8(path.substr(0, n));
    path.resize(n + 1);
  }
}

}  // namespace

SharedRead OpenSharedRead(const std::string& path) {
  SharedRead result;
  const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return result;  // missing, or a folder
  result.opened = true;
  result.finalPath = FinalPath(handle);
  LARGE_INTEGER size{};
  if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size)) {
    result.fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (result.fd >= 0) {
      result.regular = true;
      result.size = static_cast<uint64_t>(size.QuadPart);
      return result;
    }
  }
  CloseHandle(handle);
  return result;
}

std::string FinalFolderPath(const std::string& folder) {
  const HANDLE handle =
      CreateFileW(WidePath(folder).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string path = FinalPath(handle);
  CloseHandle(handle);
  return path;
}

std::string FileVersionText(int fd) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &info)) return {};
  const auto join = [](DWORD high, DWORD low) { return std::to_string((uint64_t{high} << 32) | low); };
  return join(info.nFileIndexHigh, info.nFileIndexLow) + "-" + join(info.nFileSizeHigh, info.nFileSizeLow) + "-" +
         join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
}

}  // namespace platform::win32
