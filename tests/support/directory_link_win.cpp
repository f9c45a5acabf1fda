#include <windows.h>

#include "tests/support/directory_link.h"

namespace Ostra::testing {

bool makeDirectoryLink(const std::filesystem::path& link, const std::filesystem::path& target) {
  // Without the unprivileged flag only an elevated process may make links;
  // with it, a system in developer mode lets anyone.
  constexpr DWORD kFlags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), kFlags)) return false;
  const DWORD attributes = GetFileAttributesW(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace Ostra::testing
