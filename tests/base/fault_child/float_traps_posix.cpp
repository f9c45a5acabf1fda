#include <fenv.h>

#include "tests/base/fault_child/float_traps.h"

void trapFloatDivisionByZero() { feenableexcept(FE_DIVBYZERO); }
