#include "base/path.h"

#include <vector>

namespace Ostra {

bool isSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

bool isRoot(const String& path) { return path.length() == 3 && path[1] == u':'; }

int lastSeparator(const String& path) {
  for (int i = path.length() - 1; i >= 0; --i) {
    if (isSeparator(path[i])) return i;
  }
  return -1;
}

int extensionDot(const String& path) {
  for (int i = path.length() - 1; i >= 0; --i) {
    if (path[i] == u'.') return i;
    if (isSeparator(path[i])) return -1;
  }
  return -1;
}

String fileNamePart(const String& path) { return path.substring(lastSeparator(path) + 1); }

String directoryPart(const String& path) { return path.substring(0, lastSeparator(path) + 1); }

String stem(const String& path) {
  const String name = fileNamePart(path);
  const int dot = extensionDot(name);
  return dot < 0 ? name : name.substring(0, dot);
}

String stripTrailingSeparator(const String& path) {
  const int length = path.length();
  if (length == 0 || !isSeparator(path[length - 1]) || isRoot(path)) return path;
  return path.substring(0, length - 1);
}

String ensureTrailingSeparator(const String& path) {
  const int length = path.length();
  if (length == 0 || isSeparator(path[length - 1])) return path;
  return path + u"\\";
}

String containingDirectoryName(const String& path) {
  const String directory = directoryPart(path);
  if (directory.empty() || isRoot(directory)) return emptyString();
  return fileNamePart(stripTrailingSeparator(directory));
}

String parentDirectory(const String& path) {
  if (path.empty() || isRoot(path)) return emptyString();
  return directoryPart(stripTrailingSeparator(path));
}

String changeExtension(const String& path, const String& ext) {
  // A dot that starts the file name (".profile") begins the name, not an
  // extension, also when folders come before it.
  const int dot = extensionDot(path);
  const bool hasExtension = dot > 0 && !isSeparator(path[dot - 1]);
  if (!hasExtension) return ext.empty() ? path : path + u"." + ext;
  if (ext.empty()) return path.substring(0, dot);
  return path.substring(0, dot + 1) + ext;
}

bool isRelative(const String& path) {
  if (path.length() <= 2) return true;
  if (path[1] == u':') return false;
  if (!isSeparator(path[0])) return true;
  return !isSeparator(path[1]);
}

bool isNetworkPath(const String& path) {
  if (path.length() < 2 || !isSeparator(path[0]) || !isSeparator(path[1])) return false;
  // "\\?\" and "\\.\" lead into the system's namespaces; only a drive there is local.
  if (path.length() < 4 || (path[2] != u'?' && path[2] != u'.') || !isSeparator(path[3])) return true;
  const bool driveLetter =
      path.length() >= 6 && ((path[4] >= u'A' && path[4] <= u'Z') || (path[4] >= u'a' && path[4] <= u'z'));
  return !(driveLetter && path[5] == u':');
}

String toBackslashes(const String& path) {
  std::u16string units = path.str();
  for (char16_t& unit : units) {
    if (unit == u'/') unit = u'\\';
  }
  return String(std::move(units));
}

String resolveLiteralPath(const String& path, const String& base) {
  if (base.empty() || !isRelative(path)) return toBackslashes(path);

  std::u16string buffer = ensureTrailingSeparator(base).str();
  const int length = path.length();
  const auto at = [&](int i) { return i < length ? path[i] : u'\0'; };
  int i = 0;
  while (i < length) {
    const char16_t unit = path[i];
    if (isSeparator(unit)) {
      buffer += u'\\';
      ++i;
      continue;
    }
    // "." and ".." are steps only as whole components: inside a name ("a.\b",
    // "x..\y") the dots belong to the name, and dropping them would join or
    // lose components.
    const bool componentStart = i == 0 || isSeparator(path[i - 1]);
    if (componentStart && unit == u'.' && at(i + 1) == u'.' && isSeparator(at(i + 2))) {
      const int up = lastSeparator(stripTrailingSeparator(String(buffer)));
      if (up < 0) return path;
      buffer.resize(static_cast<size_t>(up) + 1);
      i += 3;
      continue;
    }
    if (componentStart && unit == u'.' && isSeparator(at(i + 1))) {
      i += 2;
      continue;
    }
    buffer += unit;
    ++i;
  }
  return String::fromChars(buffer.data(), buffer.data() + buffer.size());
}

}  // namespace Ostra
