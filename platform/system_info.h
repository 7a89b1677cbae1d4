// System queries: the version record, the processor architecture, system metrics.
// On Linux the version query fails (this is not Windows) and metrics read 0.
#pragma once

#include <cstdint>

namespace platform {

// The extended version record, 156 bytes as Windows lays it out.
struct OsVersionInfoEx {
  uint32_t dwOSVersionInfoSize;
  uint32_t dwMajorVersion;
  uint32_t dwMinorVersion;
  uint32_t dwBuildNumber;
  uint32_t dwPlatformId;
  char szCSDVersion[128];
  uint16_t wServicePackMajor;
  uint16_t wServicePackMinor;
  uint16_t wSuiteMask;
  uint8_t wProductType;
  uint8_t wReserved;
};
static_assert(sizeof(OsVersionInfoEx) == 156);

inline constexpr uint16_t kProcessorArchitectureIntel = 0;
inline constexpr uint16_t kProcessorArchitectureAmd64 = 9;
inline constexpr int kSmServerR2 = 89;

// Fills info when its size field is 156 and the system answers; false otherwise.
bool GetVersionExA(OsVersionInfoEx& info);
// The processor architecture as seen by this process.
uint16_t GetProcessorArchitecture();
// GetSystemMetrics; 0 for every index on Linux.
int GetSystemMetrics(int index);

}  // namespace platform
