#pragma once

#include "base/string.h"

namespace Ostra {

// Renames source over target in one step of the file system (the target, when
// it exists, is replaced, never first removed) and makes the rename durable, so
// that a crash or power loss at any moment leaves one of the two whole.
// False, with nothing changed, when the system refuses because another program
// holds one of the files open without letting it go away (access denied,
// sharing violation): such holds tend to pass, and the target may still be
// written over.  IOException "ファイルの置き換えに失敗しました (source → target)"
// for any other failure; the target is untouched then (Windows 9x, which cannot
// rename over a file, removes the target first and keeps the whole new text in
// source).
bool moveFileOver(const String& source, const String& target);

}  // namespace Ostra
