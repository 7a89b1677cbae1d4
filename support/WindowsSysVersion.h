// Classifies the running Windows edition into a small code (0 = unclassified).
//
//  1 4.0   2 4.1   3 4.9   4 Windows 2000 Professional   5 Windows 2000 Server
//  6 Windows XP   7 Windows XP Professional x64   8 Windows Server 2003
//  9 Windows Home Server   10 Windows Server 2003 R2   11 Windows Vista
//  12 Windows Server 2008   13 Windows Server 2008 R2   14 Windows 7
#pragma once

#include <cstdint>

#include "platform/system_info.h"

inline constexpr uint8_t kVerNtWorkstation = 1;
inline constexpr uint16_t kVerSuiteWhServer = 0x8000;

// What the classification looks at.
struct WindowsVersionFacts {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint8_t productType = 0;
  uint16_t suiteMask = 0;
  uint16_t processorArchitecture = 0;
  int serverR2 = 0;  // GetSystemMetrics(SM_SERVERR2)
};

// The edition code for the facts; no system calls.
uint8_t ClassifyWindowsVersion(const WindowsVersionFacts& facts);

// Zeroes the record, sets its size to 156 and asks the system; on failure the
// size field is set back to 0 and the result is false.
bool GetVersionInfo(platform::OsVersionInfoEx& info);

// The code of the running system; 0 when the version query fails.
uint8_t GetSysVersion();
