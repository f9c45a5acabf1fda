#pragma once

#include <climits>

#include "base/string.h"

namespace Ostra {

// The whole text of a file: UTF-16 with a byte-order mark (FF FE little-endian,
// FE FF big-endian) when the size is even; UTF-8 after the mark EF BB BF, or
// without a mark when the bytes are well-formed UTF-8 and not all ASCII (what
// Notepad writes); otherwise the ANSI code page.  An empty file and a mark alone
// give an empty text.  IOException on failure, and "<path> は大きすぎます" for a
// file of more than maxBytes, before anything is read.
String readTextFile(const String& fileName, long maxBytes = LONG_MAX);

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

// writeTextFile into a file that this call creates: IOException when anything
// already stands at the name (so a link placed there is never written through),
// and the file is removed again when the text does not reach it whole.
void writeNewTextFile(const String& fileName, const String& text, WriteDurability durability);

}  // namespace Ostra
