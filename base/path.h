#pragma once

#include "base/string.h"

// Text operations on paths; none of them asks the system.  Both '\' and '/'
// separate; where a separator is added it is '\'.  A root is exactly three
// units with ':' second ("C:\").  Results that equal the input share its text,
// and an empty result is emptyString().
namespace Ostra {

bool isSeparator(char16_t unit);
// Three units with ':' second, as in "C:\".
bool isRoot(const String& path);

// The index of the last '\' or '/'; -1 when there is none.
int lastSeparator(const String& path);
// The index of the last '.' with no separator after it; -1 when there is none.
int extensionDot(const String& path);

// The text after the last separator; the whole text when there is none.
String fileNamePart(const String& path);
// The folder part of a path, up to and including its last separator; empty when there is none.
String directoryPart(const String& path);
// The file name without its extension; ".profile" has an empty stem.
String stem(const String& path);

// Without a last separator unless the path is a root ("C:\" stays).
String stripTrailingSeparator(const String& path);
// With one '\' added unless it already ends with a separator; empty stays empty.
String ensureTrailingSeparator(const String& path);

// The name of the folder that holds the path's last part: "b" for "C:\a\b\" and
// for "C:\a\b\x"; empty when that folder is a root or there is none.
String containingDirectoryName(const String& path);
// The folder above, with its trailing separator: "C:\a\" for "C:\a\b\" and
// "C:\a\b"; empty for an empty path or a root.
String parentDirectory(const String& path);

// ext comes without its dot.  Replaces the extension, adds one when there is
// none (".profile" + "x" is ".profile.x"), and an empty ext removes it.
String changeExtension(const String& path, const String& ext);

// True unless the path has a drive ("C:...", at least three units) or starts
// with two separators (a network path).  "\a" and "C:" are relative.
bool isRelative(const String& path);

// True when the path leads to another computer: "\\host\share", "//host",
// "\\?\UNC\host" and every other "\\?\" or "\\.\" form that names no
// local drive ("\\?\C:\" does).
bool isNetworkPath(const String& path);

// Every '/' replaced by '\'.
String toBackslashes(const String& path);

// The relative path joined to base with its "..\" and ".\" steps applied and
// every separator written '\'; an absolute path or an empty base gives the
// path with backslashes.  When a "..\" climbs above the start of base the
// path comes back unchanged.  A step is a whole component followed by a
// separator: the dots of "a..\b" or "x.\y" and a last ".." belong to names
// and stay.  resolvePath adds the %NAME% expansion.
String resolveLiteralPath(const String& path, const String& base);

}  // namespace Ostra
