#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <mutex>
#include <vector>

#include "base/encoding.h"
#include "base/process_locale.h"

namespace Ostra {

namespace {

bool isUtf8(const char* codeset) { return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0; }

// The POSIX stand-in for the ANSI code page: the character set of the C
// library's current locale, converted with iconv (UTF-8 directly).
class DefaultEncoding final : public Encoding {
 public:
  ~DefaultEncoding() override { closeConverters(); }

  int encodeChars(const char16_t* chars, int charCount, char* bytes, int byteCapacity) override {
    if (charCount <= 0 || byteCapacity <= 0) return 0;
    const char* codeset = nl_langinfo(CODESET);
    if (isUtf8(codeset)) {
      const std::string utf8 = toUtf8(String::fromChars(chars, chars + charCount));
      if (utf8.size() > static_cast<size_t>(byteCapacity)) return 0;
      std::memcpy(bytes, utf8.data(), utf8.size());
      return static_cast<int>(utf8.size());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!openConverters(codeset)) return 0;
    iconv(toNarrow_, nullptr, nullptr, nullptr, nullptr);
    auto* in = const_cast<char*>(reinterpret_cast<const char*>(chars));
    size_t inLeft = static_cast<size_t>(charCount) * 2;
    char* out = bytes;
    size_t outLeft = static_cast<size_t>(byteCapacity);
    while (inLeft > 0) {
      if (iconv(toNarrow_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
      if (errno != EILSEQ || outLeft == 0) return 0;
      // Like the Windows conversion: an unrepresentable character becomes '?'.
      const bool pair = inLeft >= 4 && (reinterpret_cast<const char16_t*>(in)[0] & 0xFC00) == 0xD800;
      const size_t skip = pair ? 4 : 2;
      in += skip;
      inLeft -= std::min(skip, inLeft);
      *out++ = '?';
      --outLeft;
    }
    if (iconv(toNarrow_, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return 0;
    return static_cast<int>(out - bytes);
  }

  // Enough for the widest character of the locale's set, and never less than
  // the two bytes a double-byte code page needs.
  int maxByteCount(int charCount) override {
    return charCount * std::max<int>(2, static_cast<int>(std::min<size_t>(MB_CUR_MAX, 4)));
  }
  int maxCharCount(int byteCount) override { return byteCount; }

  String decodeBytes(const std::string& bytes, int index, int count) override {
    if (count <= 0) return emptyString();
    const char* codeset = nl_langinfo(CODESET);
    if (isUtf8(codeset)) return fromUtf8(bytes.substr(static_cast<size_t>(index), static_cast<size_t>(count)));
    std::lock_guard<std::mutex> lock(mutex_);
    if (!openConverters(codeset)) return String(u"");
    iconv(toWide_, nullptr, nullptr, nullptr, nullptr);
    std::vector<char16_t> buffer(static_cast<size_t>(count) + 1);
    auto* in = const_cast<char*>(bytes.data() + index);
    size_t inLeft = static_cast<size_t>(count);
    auto* out = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * 2;
    while (inLeft > 0) {
      if (iconv(toWide_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
      if ((errno != EILSEQ && errno != EINVAL) || outLeft < 2) break;
      // A byte that starts no character becomes U+FFFD, and decoding goes on.
      const char16_t replacement = 0xFFFD;
      std::memcpy(out, &replacement, 2);
      out += 2;
      outLeft -= 2;
      ++in;
      --inLeft;
    }
    const auto* units = buffer.data();
    return String::fromChars(units, units + (reinterpret_cast<char16_t*>(out) - units));
  }

  bool query(int) override { return false; }

 private:
  bool openConverters(const char* codeset) {
    if (codeset_ == codeset && toNarrow_ != invalid() && toWide_ != invalid()) return true;
    closeConverters();
    codeset_ = codeset;
    toNarrow_ = iconv_open(codeset, "UTF-16LE");
    toWide_ = iconv_open("UTF-16LE", codeset);
    return toNarrow_ != invalid() && toWide_ != invalid();
  }

  void closeConverters() {
    if (toNarrow_ != invalid()) iconv_close(toNarrow_);
    if (toWide_ != invalid()) iconv_close(toWide_);
    toNarrow_ = toWide_ = invalid();
  }

  static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

  std::mutex mutex_;
  std::string codeset_;
  iconv_t toNarrow_ = invalid();
  iconv_t toWide_ = invalid();
};

}  // namespace

Encoding& defaultEncoding() {
  static DefaultEncoding encoding;
  return encoding;
}

void setUpProcessLocale() {
  // The environment's locale, for the C library and the C++ global locale.
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
  }
  std::setlocale(LC_ALL, "");
}

}  // namespace Ostra
