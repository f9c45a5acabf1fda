#include <cerrno>
#include <cstring>

#include "base/encoding.h"
#include "base/system_error.h"

namespace Ostra {

namespace {

// strerror_r comes in two forms; both are thread-safe, unlike strerror.
[[maybe_unused]] const char* errorText(int result, const char* buffer) { return result == 0 ? buffer : ""; }
[[maybe_unused]] const char* errorText(const char* result, const char*) { return result; }

}  // namespace

unsigned long lastSystemError() { return static_cast<unsigned long>(errno); }

String systemErrorText(unsigned long code) {
  char buffer[256] = {};
  const char* text = errorText(strerror_r(static_cast<int>(code), buffer, sizeof buffer), buffer);
  // In the locale's language and character set, which is what the encoding speaks.
  return defaultEncoding().decode(text);
}

}  // namespace Ostra
