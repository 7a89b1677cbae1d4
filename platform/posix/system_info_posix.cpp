#include "platform/system_info.h"

namespace platform {

bool GetVersionExA(OsVersionInfoEx& /*info*/) { return false; }

uint16_t GetProcessorArchitecture() {
#if defined(__x86_64__)
  return kProcessorArchitectureAmd64;
#elif defined(__aarch64__)
  return 12;  // ARM64
#else
  return kProcessorArchitectureIntel;
#endif
}

int GetSystemMetrics(int /*index*/) { return 0; }

}  // namespace platform
