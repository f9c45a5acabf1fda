#pragma once

#include <cstdio>

#include "base/string.h"

namespace Ostra {

// Opens a stream that other openers may read and write at the same time;
// nullptr on failure, also for a folder.  A mode with 'x' creates the file
// and fails when anything, a link included, stands at the name.  One
// definition per platform.
FILE* openSharedStream(const String& fileName, const String& mode);

// Forces what the system holds of the stream's file to the disk (the stream's
// own buffer must be flushed first); false when the system fails.
bool syncStreamToDisk(FILE* stream);

}  // namespace Ostra
