#include <algorithm>
#include <string>
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

// Expands into a buffer of `size` units, then into larger ones (at least twice
// the last) while the system needs more: a long value such as %PATH% must not
// fail for want of room.  The ANSI call may fill the buffer to its last byte
// and leave it unterminated, claiming success: a text that reaches the end of
// the buffer counts as cut, and the unit beyond it, never handed to the
// system, keeps every read inside.
template <typename Char, typename Expand>
std::basic_string<Char> expandWhole(DWORD size, Expand expand, const String& text) {
  constexpr int kAttempts = 10;  // 260 units doubled nine times: past any environment
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::vector<Char> buffer(static_cast<size_t>(size) + 1, Char{});
    const DWORD n = expand(buffer.data(), size);
    if (n == 0) throwExpansionFailed(text);
    const size_t length = std::char_traits<Char>::length(buffer.data());
    if (n <= size && length < size) return std::basic_string<Char>(buffer.data(), length);
    size = std::max<DWORD>(size * 2, n + 1);
  }
  throwExpansionFailed(text);
}

}  // namespace

String expandEnvironment(const String& text) {
  if (useWideCalls()) {
    const DWORD size = std::max<DWORD>(static_cast<DWORD>(text.length()) + 1, MAX_PATH);
    const std::wstring expanded = expandWhole<wchar_t>(
        size, [&](wchar_t* out, DWORD capacity) { return ExpandEnvironmentStringsW(wide(text), out, capacity); }, text);
    return fromWide(expanded.c_str(), static_cast<int>(expanded.size()));
  }
  const std::string narrow = defaultEncoding().encode(text);
  const DWORD size = std::max<DWORD>(static_cast<DWORD>(narrow.size()) + 1, MAX_PATH);
  return defaultEncoding().decode(expandWhole<char>(
      size, [&](char* out, DWORD capacity) { return ExpandEnvironmentStringsA(narrow.c_str(), out, capacity); }, text));
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
