#include "base/critical_error_mode.h"

namespace Ostra {

// POSIX systems have no critical-error boxes to keep away.
CriticalErrorBoxesOff::CriticalErrorBoxesOff() = default;

CriticalErrorBoxesOff::~CriticalErrorBoxesOff() = default;

}  // namespace Ostra
