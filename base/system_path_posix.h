#pragma once

// POSIX only: how the library's paths reach the system.
#include <string>

#include "base/string.h"

namespace Ostra {

// The path as the POSIX calls take it: UTF-8, every '\' turned into '/', so that a
// path written with backslashes (as resolvePath and the path functions build
// them) opens here too.  A drive letter is not mapped: "C:\x" becomes "C:/x".
std::string systemPath(const String& path);

}  // namespace Ostra
