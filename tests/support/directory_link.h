#pragma once

#include <filesystem>

namespace Ostra::testing {

// Makes `link` a symbolic link to the folder `target`; false when the system
// refuses (or, as Wine does, claims success and makes nothing).
bool makeDirectoryLink(const std::filesystem::path& link, const std::filesystem::path& target);

}  // namespace Ostra::testing
