#include "base/critical_error_mode.h"

#include <windows.h>

namespace Ostra {

CriticalErrorBoxesOff::CriticalErrorBoxesOff() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}

CriticalErrorBoxesOff::~CriticalErrorBoxesOff() { SetErrorMode(saved_); }

}  // namespace Ostra
