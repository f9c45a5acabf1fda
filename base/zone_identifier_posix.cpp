#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/system_path_posix.h"
#include "base/unique_handle_posix.h"
#include "base/zone_identifier.h"

namespace Ostra {

int systemZone(const String&) { return kNoZone; }

StreamState readFileStart(const String& path, size_t maxBytes, std::string* bytes) {
  const UniqueFd file(open(systemPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) return errno == ENOENT || errno == ENOTDIR ? StreamState::Missing : StreamState::Unreadable;
  bytes->assign(maxBytes, '\0');
  size_t filled = 0;
  while (filled < maxBytes) {
    const ssize_t n = read(file.get(), bytes->data() + filled, maxBytes - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return StreamState::Unreadable;
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  bytes->resize(filled);
  return StreamState::Read;
}

}  // namespace Ostra
