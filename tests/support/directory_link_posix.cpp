#include <unistd.h>

#include "tests/support/directory_link.h"

namespace Ostra::testing {

bool makeDirectoryLink(const std::filesystem::path& link, const std::filesystem::path& target) {
  return symlink(target.c_str(), link.c_str()) == 0;
}

}  // namespace Ostra::testing
