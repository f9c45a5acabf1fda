// The configuration format against arbitrary text: parsing never fails, and
// whatever a document holds is read back as the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>

#include "config/config_data.h"
#include "config/config_text.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;

bool hasLeadingWhiteSpace(const String& text) { return !text.empty() && std::iswspace(static_cast<wint_t>(text[0])); }

// A key that the format can carry: no marker and no line break in it.
bool isWritableKey(const String& key) {
  const std::u16string& units = key.str();
  return units.find(u" =") == std::u16string::npos && units.find_first_of(u"\r\n") == std::u16string::npos;
}

void parsedTextRoundTrips(const String& text) {
  CConfigData parsed;
  parseText(parsed, text);
  const String composed = composeText(parsed);
  CConfigData again;
  parseText(again, composed);
  require(again.entries() == parsed.entries(), "a parsed document reads back as the same entries");
  require(composeText(again) == composed, "composing is stable");
}

void escapesRoundTrip(const String& value) {
  const String escaped = escapeValue(value);
  require(escaped.str().find_first_of(std::u16string(u"\r\n\0", 3)) == std::u16string::npos,
          "an escaped value holds no CR, LF or NUL");
  require(unescapeValue(escaped) == value, "unescape undoes escape");
  unescapeValue(value);  // any text, lone backslashes included
}

// Pieces of the input between U+0001 units are taken as key, value, key, ...
void storedValuesRoundTrip(const String& text) {
  CConfigData document;
  const std::u16string& units = text.str();
  size_t start = 0;
  bool raw = false;
  for (;;) {
    const size_t keyEnd = units.find(u'\x01', start);
    if (keyEnd == std::u16string::npos) break;
    const size_t valueEnd = std::min(units.find(u'\x01', keyEnd + 1), units.size());
    const String key(units.substr(start, keyEnd - start));
    const String value(units.substr(keyEnd + 1, valueEnd - keyEnd - 1));
    start = valueEnd + 1;
    if (!isWritableKey(key)) continue;
    // Raw text must not break its own line.
    if (raw && value.str().find_first_of(u"\r\n") == std::u16string::npos) {
      document.setRaw(key, value);
    } else {
      document.setString(key, value);
    }
    raw = !raw;
    if (start > units.size()) break;
  }
  CConfigData back;
  parseText(back, composeText(document));
  require(back.entries().size() == document.entries().size(), "every stored key reads back");
  for (const auto& [key, stored] : document.entries()) {
    require(back.contains(key), "a stored key reads back");
    // Leading white space is the one thing a value loses on the way.
    if (!hasLeadingWhiteSpace(stored)) require(back.getRaw(key) == stored, "a stored value reads back unchanged");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string units = Ostra::fuzzing::unitsOf(data, size);
  const String text(std::move(units));
  parsedTextRoundTrips(text);
  escapesRoundTrip(text);
  storedValuesRoundTrip(text);
  return 0;
}
