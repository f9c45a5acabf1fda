#pragma once

#include "base/string.h"

namespace Ostra {

// The whole text of a file: UTF-16 with a byte-order mark (FF FE little-endian,
// FE FF big-endian) when the size is even, otherwise the ANSI code page.  An
// empty file and a mark alone give an empty text.  Throws IOException on failure.
String readTextFile(const String& fileName);

// Replaces the file's content with FF FE and the text as UTF-16 little-endian,
// creating missing folders first.  Throws IOException "<path> への書き込みに失敗しました"
// when any byte fails to reach the system, the final flush and close included.
void writeTextFile(const String& fileName, const String& text);

}  // namespace Ostra
