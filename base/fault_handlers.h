#pragma once

#include "base/string.h"

namespace Ostra {

// The platform halves of installFaultHandlers (exception.h).

// Makes floating-point, illegal-instruction and memory-access faults throw
// FPEException, InvalidProgramException and AccessViolationException from the
// faulting instruction.
void installHardwareFaultHandlers();

// Tells the user the process is ending abnormally: a box on Windows, standard
// error elsewhere.  Returns once the user has seen it.
void showAbortNotice(const String& caption, const String& text);

}  // namespace Ostra
