#pragma once

#include <cstddef>

#include "base/string.h"

namespace Ostra {

class CConfigData;

// The whole file text of a document: "key = value" and CR LF per entry, in key
// order; no byte-order mark (writeTextFile adds it).  An empty document gives "".
String composeText(const CConfigData& document);

// Merges the entries of a text into the document; never fails on content.
// Lines break at CR LF, LF or CR (tried in that order); a line is an entry only
// when it holds " =": the key is everything before the first one, the value
// everything after it without leading white space.  The later of two equal keys wins.
void parseText(CConfigData& document, const String& text);
// The same, stopping with false as soon as the document would hold more than
// maxEntries entries (it then holds maxEntries + 1).
bool parseText(CConfigData& document, const String& text, size_t maxEntries);

// Backslash, CR, LF and NUL become \\, \r, \n and \0; everything else is kept.
String escapeValue(const String& value);
// The inverse of escapeValue; a backslash that starts none of the four escapes
// is kept as it is, also when it is the last unit.
String unescapeValue(const String& stored);

}  // namespace Ostra
