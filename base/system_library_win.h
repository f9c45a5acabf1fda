#pragma once

// The system DLLs that the program needs now and then (the sound, the shell,
// the file dialogs, COM, the zone manager), loaded only when first needed and only from the
// system folder.  The exe imports only DLLs that Windows always takes from
// there (KnownDLLs), so nothing beside it is loaded at start.
#include <windows.h>

#include <atomic>
#include <type_traits>

#include "base/system_library.h"

namespace Ostra {

// A DLL of the system folder, loaded there on first use and kept until the
// process ends, so that a function taken from it stays valid on every thread.
class SystemLibrary {
 public:
  // sideBySide: a DLL that a manifest may redirect to an assembly (comctl32).
  explicit constexpr SystemLibrary(const wchar_t* fileName, bool sideBySide = false)
      : fileName_(fileName), sideBySide_(sideBySide) {}
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The named export; null when the DLL cannot be loaded or lacks it.
  FARPROC find(const char* exportName);

 private:
  const wchar_t* const fileName_;
  const bool sideBySide_;
  std::atomic<HMODULE> module_{nullptr};
};

inline SystemLibrary winmmLibrary{L"winmm.dll"};
inline SystemLibrary shell32Library{L"shell32.dll"};
inline SystemLibrary comdlg32Library{L"comdlg32.dll"};
inline SystemLibrary ole32Library{L"ole32.dll"};
// Version 6 (LoadIconMetric) only through the manifest's redirection.
inline SystemLibrary comctl32Library{L"comctl32.dll", true};
inline SystemLibrary urlmonLibrary{L"urlmon.dll"};

// How loadFromSystemFolder finds the system folder's copy.
enum class SystemFolderLoad {
  SearchFlag,  // LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 8, or 7 with its update)
  FullPath,    // the system folder's path, its dependencies searched from there
};
// The way this system supports.
SystemFolderLoad systemFolderLoad();
// The DLL of that name from the system folder, loaded the given way; null on failure.
HMODULE loadFromSystemFolder(const wchar_t* fileName, SystemFolderLoad how);
// The same for a DLL that a manifest may redirect: by its bare name, to which
// the redirection applies before any folder is searched, while the process's
// activation context redirects it; the system folder's copy otherwise.
HMODULE loadSideBySide(const wchar_t* fileName, SystemFolderLoad how);

// One function of a SystemLibrary, called like the function itself; looked up
// on its first call.  When it cannot be found, a call gives `missing`, which
// should be a failure in the function's own terms.
template <typename Signature>
class SystemFunction;

template <typename Result, typename... Arguments>
class SystemFunction<Result WINAPI(Arguments...)> {
  using Pointer = Result(WINAPI*)(Arguments...);
  using Missing = std::conditional_t<std::is_void_v<Result>, bool, Result>;

 public:
  constexpr SystemFunction(SystemLibrary& library, const char* name, Missing missing = Missing())
      : library_(library), name_(name), missing_(missing) {}

  Result operator()(Arguments... arguments) const {
    const Pointer function = get();
    if constexpr (std::is_void_v<Result>) {
      if (function != nullptr) function(arguments...);
    } else {
      return function != nullptr ? function(arguments...) : missing_;
    }
  }

  // The function; null when the DLL or the function is missing.
  Pointer get() const {
    Pointer function = function_.load(std::memory_order_acquire);
    if (function != nullptr) return function;
    // Through the generic function type, which GCC lets any function type be cast to.
    function = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(library_.find(name_)));
    function_.store(function, std::memory_order_release);
    return function;
  }

 private:
  SystemLibrary& library_;
  const char* const name_;
  const Missing missing_;
  mutable std::atomic<Pointer> function_{nullptr};
};

}  // namespace Ostra
