#pragma once

// The Win32 handle kinds of UniqueHandle; each says which value means "none".
#include <windows.h>

#include "base/unique_handle.h"

namespace Ostra {

// Kernel objects that come back as NULL on failure: mutexes, processes, threads.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle handle) noexcept { CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// Files from CreateFile, which fails with INVALID_HANDLE_VALUE instead.
struct FileHandleTraits : KernelHandleTraits {
  static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// FindFirstFile searches: INVALID_HANDLE_VALUE on failure too, ended by FindClose.
struct FindHandleTraits : FileHandleTraits {
  static void close(Handle handle) noexcept { FindClose(handle); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

// Memory the system allocated for the caller, such as FormatMessage's text.
struct LocalMemoryTraits {
  using Handle = HLOCAL;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle memory) noexcept { LocalFree(memory); }
};
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

}  // namespace Ostra
