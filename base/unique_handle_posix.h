#pragma once

// The POSIX handle kinds of UniqueHandle.
#include <dirent.h>
#include <unistd.h>

#include "base/unique_handle.h"

namespace Ostra {

// File descriptors; -1 is none.  Close errors are ignored: a caller who needs
// them (a written file) closes with close(release()).
struct FileDescriptorTraits {
  using Handle = int;
  static Handle invalid() noexcept { return -1; }
  static void close(Handle fd) noexcept { ::close(fd); }
};
using UniqueFd = UniqueHandle<FileDescriptorTraits>;

// Directory streams from opendir.
struct DirectoryStreamTraits {
  using Handle = DIR*;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle folder) noexcept { closedir(folder); }
};
using UniqueDirectoryStream = UniqueHandle<DirectoryStreamTraits>;

}  // namespace Ostra
