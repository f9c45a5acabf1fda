#pragma once

#include "base/string.h"

// The process's environment and where its program lives.
namespace Ostra {

// %NAME% references replaced by their values; a name that is not defined stays
// as written, and a text without '%' comes back equal.  Win32Exception
// "ファイル名 '<text>' 中の環境変数の置換に失敗" when the system fails.
String expandEnvironment(const String& text);

// expandEnvironment(path), then resolveLiteralPath against base (base/path.h):
// a relative path is joined to base with its ".\" and "..\" steps applied.
String resolvePath(const String& path, const String& base);

// The full path of the running program, whole however long it is.  Never
// throws; empty when the system cannot tell.
String modulePath();
// modulePath() read into a first buffer of that many units: a test's view of a
// path longer than the buffer (Wine starts no program from a folder deeper
// than MAX_PATH).
String modulePathForTesting(unsigned firstBufferUnits);
// modulePath() up to and including its last separator.  RuntimeException
// "実行ファイルのファイル名にディレクトリ区切り文字 L'\' がありません" when there is none.
String executableDirectory();
// resolvePath(path, executableDirectory()).
String resolveFromExecutable(const String& path);

}  // namespace Ostra
