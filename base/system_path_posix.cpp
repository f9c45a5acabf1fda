#include "base/system_path_posix.h"

#include <algorithm>

namespace Ostra {

std::string systemPath(const String& path) {
  std::string bytes = toUtf8(path);
  std::replace(bytes.begin(), bytes.end(), '\\', '/');
  return bytes;
}

}  // namespace Ostra
