#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_open.h"
#include "base/system_path_posix.h"

namespace Ostra {

// POSIX streams take no locks, so every open is shared.
FILE* openSharedStream(const String& fileName, const String& mode) {
  FILE* stream = std::fopen(systemPath(fileName).c_str(), toUtf8(mode).c_str());
  if (stream == nullptr) return nullptr;
  // A folder opens for reading here, unlike on Windows, and then has a size
  // that is no file's.
  struct stat status {};
  if (fstat(fileno(stream), &status) == 0 && S_ISDIR(status.st_mode)) {
    std::fclose(stream);
    errno = EISDIR;
    return nullptr;
  }
  return stream;
}

bool syncStreamToDisk(FILE* stream) {
  int result;
  do {
    result = fsync(fileno(stream));
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

}  // namespace Ostra
