#include "config/config_text.h"

#include <cstdint>
#include <cwctype>
#include <string>

#include "config/config_data.h"

namespace Ostra {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kBackslash = u'\\';

// One line of the text, [begin, end), without its break.
void parseLine(CConfigData& document, const char16_t* begin, const char16_t* end) {
  const char16_t* marker = begin;
  while (marker + 1 < end && !(marker[0] == u' ' && marker[1] == u'=')) ++marker;
  if (marker + 1 >= end) return;
  const char16_t* value = marker + 2;
  // The same classification as String::trimStart, without building the untrimmed text first.
  while (value < end && std::iswspace(static_cast<wint_t>(*value))) ++value;
  document.setRaw(String::fromChars(begin, marker), value == end ? emptyString() : String::fromChars(value, end));
}

}  // namespace

String composeText(const CConfigData& document) {
  size_t size = 0;
  for (const auto& entry : document.entries()) size += entry.first.str().size() + entry.second.str().size() + 5;
  std::u16string text;
  text.reserve(size);
  for (const auto& entry : document.entries()) {
    text += entry.first.str();
    text += u" = ";
    text += entry.second.str();
    text += u"\r\n";
  }
  return String(std::move(text));
}

void parseText(CConfigData& document, const String& text) { parseText(document, text, SIZE_MAX); }

bool parseText(CConfigData& document, const String& text, size_t maxEntries) {
  const char16_t* const begin = text.c_str();
  const char16_t* const end = begin + text.length();
  const char16_t* lineStart = begin;
  for (const char16_t* p = begin; p < end;) {
    if (*p != kCr && *p != kLf) {
      ++p;
      continue;
    }
    parseLine(document, lineStart, p);
    if (document.entries().size() > maxEntries) return false;
    // CR LF is one break; a lone CR or LF is one too, so LF CR makes two.
    p += (p[0] == kCr && p + 1 < end && p[1] == kLf) ? 2 : 1;
    lineStart = p;
  }
  parseLine(document, lineStart, end);
  return document.entries().size() <= maxEntries;
}

String escapeValue(const String& value) {
  std::u16string out;
  out.reserve(value.str().size());
  for (const char16_t unit : value.str()) {
    switch (unit) {
      case kBackslash:
        out += u"\\\\";
        break;
      case kCr:
        out += u"\\r";
        break;
      case kLf:
        out += u"\\n";
        break;
      case u'\0':
        out += u"\\0";
        break;
      default:
        out += unit;
    }
  }
  return String(std::move(out));
}

String unescapeValue(const String& stored) {
  const std::u16string& in = stored.str();
  std::u16string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    if (in[i] != kBackslash || i + 1 == in.size()) {
      out += in[i++];
      continue;
    }
    switch (in[i + 1]) {
      case kBackslash:
        out += kBackslash;
        break;
      case u'r':
        out += kCr;
        break;
      case u'n':
        out += kLf;
        break;
      case u'0':
        out += u'\0';
        break;
      default:
        // Not an escape: keep the backslash and look at the next unit on its own.
        out += kBackslash;
        ++i;
        continue;
    }
    i += 2;
  }
  return String(std::move(out));
}

}  // namespace Ostra
