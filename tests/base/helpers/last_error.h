#pragma once

#include <string>

namespace Ostra::testing {

// The thread's last system error code as Win32Exception reads it
// (SetLastError on Windows, errno elsewhere).
void setLastError(unsigned long code);
// The access-denied code of the platform.
unsigned long accessDeniedError();
// The system's own text for a code straight from the system call, as bytes.
std::string systemText(unsigned long code);

}  // namespace Ostra::testing
