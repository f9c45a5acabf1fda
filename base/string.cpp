#include "base/string.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <vector>

#include "base/encoding.h"

namespace Ostra {

const String& emptyString() {
  static const String empty(std::make_shared<const std::u16string>());
  return empty;
}

String::String() : text_(emptyString().text_) {}

String::String(const char16_t* text) : text_(std::make_shared<const std::u16string>(text)) {}

String::String(const std::u16string& text) : text_(std::make_shared<const std::u16string>(text)) {}

String::String(std::u16string&& text) : text_(std::make_shared<const std::u16string>(std::move(text))) {}

String String::fromChars(const char16_t* begin, const char16_t* end) { return String(std::u16string(begin, end)); }

String String::format(const char16_t* pattern, ...) {
  // The patterns hold integers only, so formatting the UTF-8 form of the
  // pattern and widening the result gives the same text on every platform.
  // va_start needs a parameter of a plain type before the dots, not a reference.
  const std::string narrowPattern = toUtf8(String(pattern));
  va_list args;
  va_start(args, pattern);
  va_list counting;
  va_copy(counting, args);
  const int n = std::vsnprintf(nullptr, 0, narrowPattern.c_str(), counting);
  va_end(counting);
  if (n <= 0) {
    va_end(args);
    return String(u"");
  }
  std::vector<char> buffer(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(buffer.data(), buffer.size(), narrowPattern.c_str(), args);
  va_end(args);
  return fromUtf8(std::string(buffer.data(), static_cast<size_t>(n)));
}

String String::fromInt(int n) { return format(u"%d", n); }

bool String::equals(const String& other) const { return text_ == other.text_ || *text_ == *other.text_; }

String& String::operator+=(const String& other) { return *this = *this + other; }

String& String::operator+=(const char16_t* other) { return *this = *this + other; }

String String::substring(int pos, int count) const {
  if (count <= 0) return emptyString();
  if (count >= length()) return *this;
  return String(text_->substr(static_cast<size_t>(pos), static_cast<size_t>(count)));
}

String String::wholeCharacterPrefix(int maxUnits) const {
  int units = maxUnits;
  if (units > 0 && units < length() && ((*text_)[static_cast<size_t>(units) - 1] & 0xFC00) == 0xD800) --units;
  return substring(0, units);
}

String String::trimStart() const {
  int i = 0;
  while (i < length() && std::iswspace(static_cast<wint_t>((*text_)[i]))) ++i;
  if (i == length()) return emptyString();
  return substring(i);
}

String String::replaceAll(const String& pattern, const String& replacement) const {
  std::u16string result;
  int from = 0;
  for (int at = find(pattern, from, length() - from); at >= 0; at = find(pattern, from, length() - from)) {
    result.append(*text_, static_cast<size_t>(from), static_cast<size_t>(at - from));
    result += replacement.str();
    from = at + pattern.length();
  }
  result.append(*text_, static_cast<size_t>(from), std::u16string::npos);
  return String(std::move(result));
}

int String::compareAt(int pos, const String& other, int count, int mode) const {
  const bool ignoreCase = mode == 1 || mode == 3 || mode == 5;
  const char16_t* a = c_str() + pos;
  const char16_t* b = other.c_str();
  for (int i = 0; i < count; ++i) {
    wint_t ca = a[i];
    wint_t cb = b[i];
    if (ignoreCase) {
      ca = std::towlower(ca);
      cb = std::towlower(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

int String::find(const String& pattern, int start, int count) const {
  const int last = start + count - pattern.length();
  for (int p = start; p <= last; ++p) {
    if (compareAt(p, pattern, pattern.length(), 0) == 0) return p;
  }
  return -1;
}

int String::toInt() const { return std::atoi(defaultEncoding().encode(*this).c_str()); }

void String::copyToBuffer(char* buffer, int size) const {
  if (size <= 0) return;
  Encoding& encoding = defaultEncoding();
  std::string bytes = encoding.encode(*this);
  if (static_cast<int>(bytes.size()) >= size) {
    // Keep whole characters only: a lone lead byte would show as garbage.
    int kept = 0;
    for (int i = 0; i < length();) {
      const bool pair = i + 1 < length() && ((*text_)[i] & 0xFC00) == 0xD800 && ((*text_)[i + 1] & 0xFC00) == 0xDC00;
      const int units = pair ? 2 : 1;
      const int width = static_cast<int>(encoding.encode(*this, i, units).size());
      if (kept + width > size - 1) break;
      kept += width;
      i += units;
    }
    bytes.resize(static_cast<size_t>(kept));
  }
  bytes.copy(buffer, bytes.size());
  buffer[bytes.size()] = '\0';
}

String operator+(const String& a, const String& b) { return String(a.str() + b.str()); }

String operator+(const String& a, const char16_t* b) { return a + String(b); }

String operator+(const char16_t* a, const String& b) { return String(a) + b; }

}  // namespace Ostra
