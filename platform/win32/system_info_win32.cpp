// The version record, the processor and system metrics, as Windows reports them.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/system_info.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool GetVersionExA(OsVersionInfoEx& info) {
  if (info.dwOSVersionInfoSize != sizeof(OsVersionInfoEx)) return false;
  OSVERSIONINFOEXW wide{};
  wide.dwOSVersionInfoSize = sizeof wide;
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&wide))) return false;
  info.dwMajorVersion = wide.dwMajorVersion;
  info.dwMinorVersion = wide.dwMinorVersion;
  info.dwBuildNumber = wide.dwBuildNumber;
  info.dwPlatformId = wide.dwPlatformId;
  const std::string csd = win32::Utf8(wide.szCSDVersion);
  std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
  std::memcpy(info.szCSDVersion, csd.data(), std::min(csd.size(), sizeof info.szCSDVersion - 1));
  info.wServicePackMajor = wide.wServicePackMajor;
  info.wServicePackMinor = wide.wServicePackMinor;
  info.wSuiteMask = wide.wSuiteMask;
  info.wProductType = wide.wProductType;
  info.wReserved = wide.wReserved;
  return true;
}

uint16_t GetProcessorArchitecture() {
  SYSTEM_INFO system;
  ::GetSystemInfo(&system);
  return system.wProcessorArchitecture;
}

int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

}  // namespace platform
