// urlmon.h after windows.h (through platform_win.h).
#include "base/platform_win.h"

#include <urlmon.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/system_library_win.h"
#include "base/unique_handle_win.h"
#include "base/zone_identifier.h"

namespace Ostra {

namespace {

const SystemFunction<decltype(CoInternetCreateSecurityManager)> createSecurityManager{
    urlmonLibrary, "CoInternetCreateSecurityManager", E_FAIL};

// No stream, or a file system that keeps none (FAT refuses the name).
bool meansNoStream(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

HANDLE openForReading(const String& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  if (useWideCalls()) {
    return CreateFileW(wide(path), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  // Windows 9x knows no FILE_SHARE_DELETE, and no streams.
  return CreateFileA(defaultEncoding().encode(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int systemZone(const String& fullPath) {
  IInternetSecurityManager* manager = nullptr;
  if (FAILED(createSecurityManager(nullptr, &manager, 0)) || manager == nullptr) return kNoZone;
  DWORD zone = 0;
  // MUTZ_ISFILE: a path, not a URL; MUTZ_REQUIRESAVEDFILECHECK: the file's
  // own mark counts also where policy would skip it (network folders).
  const HRESULT mapped = manager->MapUrlToZone(wide(fullPath), &zone, MUTZ_ISFILE | MUTZ_REQUIRESAVEDFILECHECK);
  manager->Release();
  return SUCCEEDED(mapped) && zone <= static_cast<DWORD>(kRestrictedZone) ? static_cast<int>(zone) : kNoZone;
}

StreamState readFileStart(const String& path, size_t maxBytes, std::string* bytes) {
  const UniqueFileHandle file(openForReading(path));
  if (!file) return meansNoStream(GetLastError()) ? StreamState::Missing : StreamState::Unreadable;
  bytes->assign(maxBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes->data(), static_cast<DWORD>(maxBytes), &read, nullptr)) {
    return StreamState::Unreadable;
  }
  bytes->resize(read);
  return StreamState::Read;
}

}  // namespace Ostra
