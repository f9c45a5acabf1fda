#include <cerrno>
#include <cstring>

#include "tests/base/helpers/last_error.h"

namespace Ostra::testing {

void setLastError(unsigned long code) { errno = static_cast<int>(code); }

unsigned long accessDeniedError() { return EACCES; }

std::string systemText(unsigned long code) { return std::strerror(static_cast<int>(code)); }

}  // namespace Ostra::testing
