#pragma once

namespace Ostra {

// Makes the user's default locale the process-wide one, for the C library and,
// where it knows the user's locale by name (not on Windows), the C++ library;
// runs once during static initialisation (base/process_setup.h).
void setUpProcessLocale();

}  // namespace Ostra
