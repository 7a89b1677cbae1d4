#include <windows.h>

#include <cstdint>

#include "platform/local_time.h"

namespace platform {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DayOfYear(const SYSTEMTIME& t) {
  static constexpr int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kBefore[t.wMonth - 1] + t.wDay - 1 + (t.wMonth > 2 && IsLeapYear(t.wYear) ? 1 : 0);
}

}  // namespace

// The moment through the system's time-zone rules for that date (daylight saving included).
std::tm LocalTime(std::time_t when) {
  const uint64_t ticks = (static_cast<uint64_t>(when) + 11644473600ULL) * 10000000ULL;  // 100 ns since 1601
  const FILETIME utcFile{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc, local;
  std::tm out{};
  if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return out;
  out.tm_year = local.wYear - 1900;
  out.tm_mon = local.wMonth - 1;
  out.tm_mday = local.wDay;
  out.tm_hour = local.wHour;
  out.tm_min = local.wMinute;
  out.tm_sec = local.wSecond;
  out.tm_wday = local.wDayOfWeek;
  out.tm_yday = DayOfYear(local);
  out.tm_isdst = -1;
  return out;
}

}  // namespace platform
