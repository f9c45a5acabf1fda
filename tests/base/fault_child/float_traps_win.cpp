#include <float.h>

#include "tests/base/fault_child/float_traps.h"

void trapFloatDivisionByZero() { _controlfp(_controlfp(0, 0) & ~static_cast<unsigned>(_EM_ZERODIVIDE), _MCW_EM); }
