#pragma once

// The single system calls under the shared algorithms of filesystem.cpp, one
// definition per platform.  Each returns false on failure with the system's
// error code (last error or errno) left for the caller's exception.
#include "base/string.h"

namespace Ostra::platform {

// Fails when failIfExists and the target exists, and always onto the source itself.
bool copyFile(const String& source, const String& target, bool failIfExists);
// A file or a link to one; fails on a directory and on a read-only file.
bool deleteFile(const String& path);
// An empty directory, or a link to a directory (the link only).
bool removeDirectory(const String& path);
bool createDirectory(const String& path);

}  // namespace Ostra::platform
