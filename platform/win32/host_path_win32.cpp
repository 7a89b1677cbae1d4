// On Windows the path texts are the host paths: there is no prefix.
#include <windows.h>

#include "platform/host_path.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool InitPrefix() { return true; }
void ForgetPrefix() {}
std::string PrefixDir() { return {}; }

std::string HostPath(const std::string& path) { return path; }
std::string WindowsPath(const std::string& hostPath) { return hostPath; }

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return win32::Utf8(std::wstring_view(path.data(), n));
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::string ExecutableWindowsPath() { return ExecutablePath(); }

}  // namespace platform
