// The Windows side of safe_path.h: the file is opened first, and its final path (links and
// junctions resolved by the system) must lie below the served folder's.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <string_view>

#include "platform/win32/wide_text.h"
#include "tools/testserver/safe_path.h"

namespace testserver {
namespace {

bool HasDotDotSegment(std::string_view path) {
  while (!path.empty()) {
    const size_t slash = path.find('/');
    if (path.substr(0, slash) == "..") return true;
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return false;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(n + 1);
  }
}

std::wstring FolderFinalPath(const std::string& folder) {
  const HANDLE handle = CreateFileW(platform::win32::WidePath(folder).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::wstring path = FinalPath(handle);
  CloseHandle(handle);
  return path;
}

}  // namespace

OpenedFile OpenServedFile(const std::string& rootDir, const std::string& decodedPath) {
  OpenedFile result;
  if (HasDotDotSegment(decodedPath) || decodedPath.find('\\') != std::string::npos) {
    result.outcome = OpenedFile::kForbidden;
    return result;
  }
  const std::wstring root = FolderFinalPath(rootDir);
  if (root.empty()) return result;
  // Shared for every use: the tests rewrite and remove served files while a client reads them.
  const HANDLE handle = CreateFileW(platform::win32::WidePath(rootDir + "/" + decodedPath).c_str(), GENERIC_READ,
                                    kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return result;  // missing, or a folder
  const std::wstring target = FinalPath(handle);
  LARGE_INTEGER size{};
  if (target.size() <= root.size() + 1 || target.compare(0, root.size(), root) != 0 || target[root.size()] != L'\\') {
    result.outcome = OpenedFile::kForbidden;
  } else if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size)) {
    result.fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (result.fd >= 0) {
      result.outcome = OpenedFile::kOpened;
      result.size = static_cast<uint64_t>(size.QuadPart);
      return result;
    }
  }
  CloseHandle(handle);
  return result;
}

std::string FileVersionTag(int fd) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &info)) return {};
  const auto join = [](DWORD high, DWORD low) { return std::to_string((uint64_t{high} << 32) | low); };
  return "\"" + join(info.nFileIndexHigh, info.nFileIndexLow) + "-" + join(info.nFileSizeHigh, info.nFileSizeLow) +
         "-" + join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime) + "\"";
}

}  // namespace testserver
