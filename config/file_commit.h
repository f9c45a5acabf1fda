#pragma once

#include "base/string.h"

namespace Ostra {

// The two steps that make a fully written file take the place of another so
// that a crash or power loss at any moment leaves one of the two whole.

// Forces the file's content to the disk.  IOException "<path> への書き込みに失敗しました".
void syncFileToDisk(const String& path);

// Renames source over target in one step of the file system (the target, when
// it exists, is replaced, never first removed) and makes the rename durable.
// IOException "ファイルの置き換えに失敗しました (source → target)"; the target
// is untouched then (Windows 9x, which cannot rename over a file, removes the
// target first and keeps the whole new text in source).
void moveFileOver(const String& source, const String& target);

}  // namespace Ostra
