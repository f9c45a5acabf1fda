#include <windows.h>

#include "tests/base/helpers/last_error.h"

namespace Ostra::testing {

void setLastError(unsigned long code) { SetLastError(code); }

unsigned long accessDeniedError() { return ERROR_ACCESS_DENIED; }

std::string systemText(unsigned long code) {
  char buffer[1024] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

}  // namespace Ostra::testing
