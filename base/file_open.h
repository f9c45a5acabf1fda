#pragma once

#include <cstdio>

#include "base/string.h"

namespace Ostra {

// Opens a stream that other openers may read and write at the same time;
// nullptr on failure.  One definition per platform.
FILE* openSharedStream(const String& fileName, const String& mode);

}  // namespace Ostra
