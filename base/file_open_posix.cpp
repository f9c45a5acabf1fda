#include "base/file_open.h"
#include "base/system_path_posix.h"

namespace Ostra {

// POSIX streams take no locks, so every open is shared.
FILE* openSharedStream(const String& fileName, const String& mode) {
  return std::fopen(systemPath(fileName).c_str(), toUtf8(mode).c_str());
}

}  // namespace Ostra
