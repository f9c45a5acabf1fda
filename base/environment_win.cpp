#include <algorithm>
#include <vector>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/environment.h"
#include "base/exception.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

[[noreturn]] void throwExpansionFailed(const String& text) {
  const DWORD error = GetLastError();
  const String message = u"ファイル名 '" + text + u"' 中の環境変数の置換に失敗";
  SetLastError(error);
  throw Win32Exception(message);
}

// Expands into a buffer of `size` units, then once more into one large enough
// for what the system said it needs (at least twice the first): a long value
// such as %PATH% must not fail for want of room.
template <typename Char, typename Expand>
std::vector<Char> expandInto(DWORD size, Expand expand, const String& text) {
  std::vector<Char> buffer(size, Char{});
  DWORD n = expand(buffer.data(), size);
  if (n != 0 && n <= size) return buffer;
  if (n == 0) throwExpansionFailed(text);
  size = std::max<DWORD>(size * 2, n);
  buffer.assign(size, Char{});
  n = expand(buffer.data(), size);
  if (n == 0 || n > size) throwExpansionFailed(text);
  return buffer;
}

}  // namespace

String expandEnvironment(const String& text) {
  if (useWideCalls()) {
    const DWORD size = std::max<DWORD>(static_cast<DWORD>(text.length()) + 1, MAX_PATH);
    const auto buffer = expandInto<wchar_t>(
        size, [&](wchar_t* out, DWORD capacity) { return ExpandEnvironmentStringsW(wide(text), out, capacity); }, text);
    return fromWide(buffer.data());
  }
  const std::string narrow = defaultEncoding().encode(text);
  const DWORD size = std::max<DWORD>(static_cast<DWORD>(narrow.size()) + 1, MAX_PATH);
  const auto buffer = expandInto<char>(
      size, [&](char* out, DWORD capacity) { return ExpandEnvironmentStringsA(narrow.c_str(), out, capacity); }, text);
  return defaultEncoding().decode(std::string(buffer.data()));
}

String modulePath() {
  // The wide call on the NT family: through the ANSI code page a folder name
  // outside it comes back with '?' and can no longer be opened.
  if (useWideCalls()) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return fromWide(buffer, static_cast<int>(std::min<DWORD>(n, MAX_PATH)));
  }
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return defaultEncoding().decode(std::string(buffer, std::min<DWORD>(n, MAX_PATH)));
}

}  // namespace Ostra
