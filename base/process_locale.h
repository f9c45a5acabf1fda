#pragma once

namespace Ostra {

// Makes the user's default locale the process-wide one, for the C library and
// the standard library alike; runs once during static initialisation
// (base/process_setup.h).
void setUpProcessLocale();

}  // namespace Ostra
