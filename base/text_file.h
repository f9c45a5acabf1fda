#pragma once

#include "base/string.h"

namespace Ostra {

// The whole text of a file: UTF-16 with a byte-order mark (FF FE little-endian,
// FE FF big-endian) when the size is even, otherwise the ANSI code page.  An
// empty file and a mark alone give an empty text.  Throws IOException on failure.
String readTextFile(const String& fileName);

// How far writeTextFile takes the bytes before it returns.
enum class WriteDurability {
  kToSystem,  // the system has them (they reach the disk when it pleases)
  kToDisk,    // they are on the disk, forced there before the file is closed
};

// Replaces the file's content with FF FE and the text as UTF-16 little-endian,
// creating missing folders first.  Throws IOException "<path> への書き込みに失敗しました"
// when any byte fails to reach the system (or the disk), the final flush and
// close included.
void writeTextFile(const String& fileName, const String& text, WriteDurability durability = WriteDurability::kToSystem);

}  // namespace Ostra
