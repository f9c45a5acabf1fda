#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/filesystem.h"
#include "base/filesystem_platform.h"
#include "base/path.h"
#include "base/system_path_posix.h"
#include "base/unique_handle_posix.h"

namespace Ostra {

namespace {

// The Windows meaning of read-only: the owner may not write.  Checked from the
// mode bits rather than access(), which lets root through everything.
bool readOnly(const struct stat& status) { return (status.st_mode & S_IWUSR) == 0; }

bool writeAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = write(fd, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

bool copyContents(int from, int to) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const ssize_t n = read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!writeAll(to, buffer.data(), static_cast<size_t>(n))) return false;
  }
}

}  // namespace

unsigned fileAttributes(const String& path) {
  const std::string name = systemPath(path);
  struct stat status {};
  if (lstat(name.c_str(), &status) != 0) return kInvalidAttributes;
  if (S_ISLNK(status.st_mode)) {
    // A link has attributes of its own, with the directory bit when it leads
    // to a directory, as a Windows directory link has.
    struct stat target {};
    const bool toFolder = stat(name.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    return kReparsePointAttribute | (toFolder ? kDirectoryAttribute : 0);
  }
  unsigned attributes = S_ISDIR(status.st_mode) ? kDirectoryAttribute : 0;
  if (readOnly(status)) attributes |= kReadOnlyAttribute;
  return attributes == 0 ? kNormalAttribute : attributes;
}

PathPresence pathPresence(const String& path) {
  struct stat status {};
  if (lstat(systemPath(path).c_str(), &status) == 0) return PathPresence::Present;
  // ENOTDIR: a file stands where a folder on the way should be, which Windows
  // reports as a path not found.
  if (errno == ENOENT || errno == ENOTDIR) return PathPresence::Missing;
  return PathPresence::Unknown;
}

void clearFileAttributes(const String& path) {
  const std::string name = systemPath(path);
  struct stat status {};
  // chmod would reach through a link to its target.
  if (lstat(name.c_str(), &status) != 0 || S_ISLNK(status.st_mode)) return;
  chmod(name.c_str(), (status.st_mode & 07777) | S_IWUSR);
}

bool isDirectory(const String& path) {
  // "/" alone would otherwise become the empty path.
  const String stripped = stripTrailingSeparator(path);
  const unsigned attributes = fileAttributes(stripped.empty() ? path : stripped);
  return attributes != kInvalidAttributes && (attributes & kDirectoryAttribute) != 0;
}

String currentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return emptyString();
    buffer.resize(buffer.size() * 2);
  }
  return fromUtf8(buffer.data());
}

bool setCurrentDirectory(const String& path) { return chdir(systemPath(path).c_str()) == 0; }

String fullPathName(const String& path) {
  if (path.empty() || path[0] == u'/') return path;
  const String folder = currentDirectory();
  return folder.empty() ? path : ensureTrailingSeparator(folder) + path;
}

namespace platform {

bool copyFile(const String& source, const String& target, bool failIfExists) {
  const UniqueFd from(open(systemPath(source).c_str(), O_RDONLY | O_CLOEXEC));
  if (!from) return false;
  struct stat sourceStatus {};
  if (fstat(from.get(), &sourceStatus) != 0) return false;
  if (S_ISDIR(sourceStatus.st_mode)) {
    errno = EISDIR;
    return false;
  }
  const std::string targetName = systemPath(target);
  struct stat targetStatus {};
  if (stat(targetName.c_str(), &targetStatus) == 0) {
    // Truncating the target would destroy the source when they are one file.
    if (targetStatus.st_dev == sourceStatus.st_dev && targetStatus.st_ino == sourceStatus.st_ino) {
      errno = EINVAL;
      return false;
    }
    if (failIfExists) {
      errno = EEXIST;
      return false;
    }
    if (readOnly(targetStatus)) {
      errno = EACCES;
      return false;
    }
  }
  const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
  const UniqueFd to(open(targetName.c_str(), flags, sourceStatus.st_mode & 0777));
  if (!to) return false;
  if (!copyContents(from.get(), to.get())) {
    const int error = errno;
    unlink(targetName.c_str());  // no half-copied file left behind
    errno = error;
    return false;
  }
  fchmod(to.get(), sourceStatus.st_mode & 07777);
  return true;
}

bool deleteFile(const String& path) {
  const std::string name = systemPath(path);
  struct stat status {};
  if (lstat(name.c_str(), &status) != 0) return false;
  if (S_ISDIR(status.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (!S_ISLNK(status.st_mode) && readOnly(status)) {
    errno = EACCES;
    return false;
  }
  return unlink(name.c_str()) == 0;
}

bool removeDirectory(const String& path) {
  const std::string name = systemPath(path);
  struct stat status {};
  if (lstat(name.c_str(), &status) != 0) return false;
  if (S_ISLNK(status.st_mode)) return unlink(name.c_str()) == 0;
  if (!S_ISDIR(status.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  if (readOnly(status)) {
    errno = EACCES;
    return false;
  }
  return rmdir(name.c_str()) == 0;
}

bool createDirectory(const String& path) { return mkdir(systemPath(path).c_str(), 0777) == 0; }

}  // namespace platform

}  // namespace Ostra
