#include "support/WindowsSysVersion.h"

#include <cstring>

uint8_t ClassifyWindowsVersion(const WindowsVersionFacts& f) {
  const bool workstation = f.productType == kVerNtWorkstation;
  switch (f.major) {
    case 4:
      switch (f.minor) {
        case 0: return 1;
        case 1: return 2;
        case 9: return 3;
        default: return 0;
      }
    case 5:
      switch (f.minor) {
        case 0: return workstation ? 4 : 5;
        case 1: return 6;
        case 2: {
          if (workstation && f.processorArchitecture == platform::kProcessorArchitectureAmd64) return 7;
          uint8_t code = f.serverR2 != 0 ? 10 : 8;
          // An equality test on the whole mask: Home Server reports this bit alone.
          if (f.suiteMask == kVerSuiteWhServer) code = 9;
          return code;
        }
        default: return 0;
      }
    case 6:
      switch (f.minor) {
        case 0: return workstation ? 11 : 12;
        case 1: return workstation ? 14 : 13;
        default: return 0;
      }
    default:
      return 0;
  }
}

bool GetVersionInfo(platform::OsVersionInfoEx& info) {
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!platform::GetVersionExA(info)) {
    info.dwOSVersionInfoSize = 0;
    return false;
  }
  return true;
}

uint8_t GetSysVersion() {
  WindowsVersionFacts facts;
  facts.processorArchitecture = platform::GetProcessorArchitecture();
  platform::OsVersionInfoEx info;
  if (!GetVersionInfo(info)) return 0;
  facts.major = info.dwMajorVersion;
  facts.minor = info.dwMinorVersion;
  facts.productType = info.wProductType;
  facts.suiteMask = info.wSuiteMask;
  // The second-release flag matters only to 5.2 servers; ask only then.
  if (facts.major == 5 && facts.minor == 2) facts.serverR2 = platform::GetSystemMetrics(platform::kSmServerR2);
  return ClassifyWindowsVersion(facts);
}
