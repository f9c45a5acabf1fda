#include <windows.h>

#include "base/clock.h"

namespace Ostra {

int64_t monotonicMilliseconds() { return static_cast<int64_t>(GetTickCount64()); }

LocalTime localTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

int64_t wallClockMilliseconds() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  FILETIME units{};  // 100 ns since 1601, here of the local time
  SystemTimeToFileTime(&now, &units);
  return static_cast<int64_t>((static_cast<uint64_t>(units.dwHighDateTime) << 32 | units.dwLowDateTime) / 10000);
}

}  // namespace Ostra
