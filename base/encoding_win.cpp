#include <windows.h>

#include <clocale>
#include <vector>

#include "base/encoding.h"
#include "base/process_locale.h"

namespace Ostra {

namespace {

// The most bytes one unit can take in the ANSI code page: 1 in the Western
// pages, 2 in the double-byte ones, 4 in UTF-8 (65001, Windows' "Unicode
// UTF-8" option), where a conversion sized at two would fail outright.
int maxBytesPerUnit() {
  static const int bytes = [] {
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? static_cast<int>(info.MaxCharSize) : 4;
  }();
  return bytes;
}

class DefaultEncoding final : public Encoding {
 public:
  int encodeChars(const char16_t* chars, int charCount, char* bytes, int byteCapacity) override {
    if (charCount <= 0) return 0;
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(chars), charCount, bytes, byteCapacity,
                               nullptr, nullptr);
  }

  int maxByteCount(int charCount) override { return charCount * maxBytesPerUnit(); }
  // No code page makes more units than bytes.
  int maxCharCount(int byteCount) override { return byteCount; }

  String decodeBytes(const std::string& bytes, int index, int count) override {
    if (count <= 0) return emptyString();
    std::vector<wchar_t> buffer(static_cast<size_t>(maxCharCount(count)) + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data() + index, count, buffer.data(),
                                      static_cast<int>(buffer.size()));
    const auto* units = reinterpret_cast<const char16_t*>(buffer.data());
    return String::fromChars(units, units + (n > 0 ? n : 0));
  }

  bool query(int) override { return false; }
};

}  // namespace

Encoding& defaultEncoding() {
  static DefaultEncoding encoding;
  return encoding;
}

void setUpProcessLocale() {
  _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
  // The user's default locale for the C library (iswspace, atoi, wide printf).
  // The C++ global locale stays classic: libstdc++ on Windows knows no locale
  // but "C" by name, and asking it for the user's only threw at every start
  // (and linked all its facets in).
  std::setlocale(LC_ALL, "");
}

}  // namespace Ostra
