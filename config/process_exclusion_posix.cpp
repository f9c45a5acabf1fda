#include "config/process_exclusion.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include "base/unique_handle_posix.h"

namespace Ostra {

class CProcessExclusion::Held {
 public:
  explicit Held(UniqueFd lockFile) : lockFile_(std::move(lockFile)) {}

 private:
  // Closing the only descriptor of the open file drops its flock.
  UniqueFd lockFile_;
};

namespace {

// A folder only this user can write, so no one else can hold, swap or remove
// our lock files: $XDG_RUNTIME_DIR, else /tmp/kairon-<uid> made 0700 here.
// Empty when neither is fit.
std::string runtimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  struct stat info {};
  if (xdg && xdg[0] == '/' && stat(xdg, &info) == 0 && S_ISDIR(info.st_mode)) return xdg;

  const uid_t uid = getuid();
  const std::string folder = "/tmp/kairon-" + std::to_string(uid);
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  // Someone else may have made it first: it must be ours, private and real.
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid || (info.st_mode & 077) != 0) {
    return std::string();
  }
  return folder;
}

// The name may hold any unit and be 259 units long, which no file name takes:
// the file is named after a 64-bit FNV-1a hash of its UTF-16 units.
std::string lockFileName(const String& name) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char16_t unit : name.str()) {
    for (const int shift : {0, 8}) {
      hash ^= static_cast<std::uint8_t>(unit >> shift);
      hash *= 0x100000001b3u;
    }
  }
  char text[40];
  std::snprintf(text, sizeof text, "config-%016llx.lock", static_cast<unsigned long long>(hash));
  return text;
}

int openLockFile(const String& name) {
  const std::string folder = runtimeFolder();
  if (folder.empty()) return -1;
  const std::string file = folder + "/" + lockFileName(name);
  int fd;
  do {
    fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

void CProcessExclusion::HeldDeleter::operator()(Held* held) const { delete held; }

CProcessExclusion::~CProcessExclusion() = default;

bool CProcessExclusion::lock() {
  unlock();
  UniqueFd lockFile(openLockFile(name_));
  if (!lockFile) return true;  // no lock file: go on without exclusion
  // flock, not fcntl: its lock belongs to this open file, so two exclusions of
  // one process (on two threads) keep each other out as two processes do.
  // flock cannot wait with a limit: it is asked again and again until then.
  const auto giveUp = std::chrono::steady_clock::now() + exclusionPatience();
  while (flock(lockFile.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return true;
    if (std::chrono::steady_clock::now() >= giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  held_.reset(new Held(std::move(lockFile)));
  return true;
}

void CProcessExclusion::unlock() { held_.reset(); }

}  // namespace Ostra
