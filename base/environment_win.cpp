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

// The program's whole path, however deep its folder: a cut one would name a
// settings file in another folder.  The call fills the buffer to its end when
// the path does not fit (unterminated on XP), so the buffer grows until it is
// not full; 65536 units (or ANSI bytes) hold any path the system can have.
template <typename Char, typename Query>
std::basic_string<Char> wholeModulePath(DWORD firstSize, Query query) {
  constexpr DWORD kLongestPath = 65536;
  for (DWORD size = firstSize;; size *= 2) {
    std::vector<Char> buffer(size, Char{});
    const DWORD n = query(buffer.data(), size);
    if (n == 0) return std::basic_string<Char>();
    if (n < size) return std::basic_string<Char>(buffer.data(), n);
    if (size >= kLongestPath) return std::basic_string<Char>();
  }
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

namespace {

String readModulePath(unsigned firstBufferUnits) {
  // The wide call on the NT family: through the ANSI code page a folder name
  // outside it comes back with '?' and can no longer be opened.
  if (useWideCalls()) {
    const std::wstring path = wholeModulePath<wchar_t>(
        firstBufferUnits, [](wchar_t* out, DWORD capacity) { return GetModuleFileNameW(nullptr, out, capacity); });
    return fromWide(path.c_str(), static_cast<int>(path.size()));
  }
  return defaultEncoding().decode(wholeModulePath<char>(
      firstBufferUnits, [](char* out, DWORD capacity) { return GetModuleFileNameA(nullptr, out, capacity); }));
}

}  // namespace

String modulePath() { return readModulePath(MAX_PATH); }

String modulePathForTesting(unsigned firstBufferUnits) { return readModulePath(firstBufferUnits); }

}  // namespace Ostra
