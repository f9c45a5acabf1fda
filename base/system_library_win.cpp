#include "base/system_library_win.h"

#include <string>

namespace Ostra {

namespace {

// A kernel32 export that older systems lack; null there.
template <typename Pointer>
Pointer kernelFunction(const char* name) {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

}  // namespace

void restrictLibrarySearch() {
  // Windows 7 and Vista have it only with update KB2533623, which also brings
  // the LOAD_LIBRARY_SEARCH flags.
  const auto setDefaultDllDirectories = kernelFunction<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories");
  if (setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Takes at least the current folder out of the search; the program's own
  // folder stays in it, which loadFromSystemFolder's full paths get around.
  SetDllDirectoryW(L"");
}

SystemFolderLoad systemFolderLoad() {
  static const SystemFolderLoad how = kernelFunction<FARPROC>("SetDefaultDllDirectories") != nullptr
                                          ? SystemFolderLoad::SearchFlag
                                          : SystemFolderLoad::FullPath;
  return how;
}

HMODULE loadFromSystemFolder(const wchar_t* fileName, SystemFolderLoad how) {
  if (how == SystemFolderLoad::SearchFlag) return LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
  // The DLL's own folder, not the program's, is searched first for what it imports.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE loadSideBySide(const wchar_t* fileName, SystemFolderLoad how) {
  // The search flag keeps the bare name already.
  if (how == SystemFolderLoad::SearchFlag) return loadFromSystemFolder(fileName, how);
  // A full path would skip the redirection and give the system folder's old
  // version.  Unredirected, the bare name would search the program's folder.
  using FindSection = BOOL(WINAPI*)(DWORD, const GUID*, ULONG, LPCWSTR, PACTCTX_SECTION_KEYED_DATA);
  const auto findSection = kernelFunction<FindSection>("FindActCtxSectionStringW");
  ACTCTX_SECTION_KEYED_DATA found{};
  found.cbSize = sizeof found;
  if (findSection == nullptr ||
      !findSection(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, fileName, &found)) {
    return loadFromSystemFolder(fileName, how);
  }
  return LoadLibraryW(fileName);
}

FARPROC SystemLibrary::find(const char* exportName) {
  HMODULE module = module_.load(std::memory_order_acquire);
  if (module == nullptr) {
    const HMODULE loaded = sideBySide_ ? loadSideBySide(fileName_, systemFolderLoad())
                                       : loadFromSystemFolder(fileName_, systemFolderLoad());
    if (loaded == nullptr) return nullptr;
    // Another thread may have loaded it meanwhile: one reference is enough.
    if (module_.compare_exchange_strong(module, loaded, std::memory_order_acq_rel)) {
      module = loaded;
    } else {
      FreeLibrary(loaded);
    }
  }
  return GetProcAddress(module, exportName);
}

}  // namespace Ostra
