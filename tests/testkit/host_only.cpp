#include "tests/testkit/host_only.h"

#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testkit {

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable.
  ::_putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);
  else
    ::unsetenv(name.c_str());
#endif
}

bool PermissionBitsBindUs() {
#ifdef _WIN32
  return false;
#else
  return ::geteuid() != 0;
#endif
}

std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::optional<uint64_t> FileIdentity(const std::string& path) {
#ifdef _WIN32
  const HANDLE file = CreateFileW(platform::win32::WidePath(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_ino);
#endif
}

}  // namespace testkit
