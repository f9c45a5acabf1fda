#pragma once

#include "base/string.h"

namespace Ostra {

// The calling thread's last system error code (GetLastError, errno on POSIX).
unsigned long lastSystemError();

// The system's own text for an error code, as it gives it (a trailing line end
// included); empty when it has none.
String systemErrorText(unsigned long code);

}  // namespace Ostra
