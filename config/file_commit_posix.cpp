#include "config/file_commit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/exception.h"
#include "base/path.h"
#include "base/system_path_posix.h"

namespace Ostra {

namespace {

int openRetrying(const std::string& path, int flags) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

// An open file never keeps a rename from replacing it here: every failure is
// one that waiting cannot mend.
bool moveFileOver(const String& source, const String& target) {
  if (std::rename(systemPath(source).c_str(), systemPath(target).c_str()) != 0)
    throw IOException(u"ファイルの置き換えに失敗しました (" + source + u" → " + target + u")");
  // The new name reaches the disk with the folder's own entries.  Some file
  // systems cannot sync a folder; the rename itself has happened either way.
  const String folder = directoryPart(target);
  const int fd = openRetrying(folder.empty() ? std::string(".") : systemPath(folder), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

}  // namespace Ostra
