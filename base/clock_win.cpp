#include <windows.h>

#include "base/clock.h"

namespace Ostra {

int64_t monotonicMilliseconds() { return static_cast<int64_t>(GetTickCount64()); }

LocalTime localTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace Ostra
