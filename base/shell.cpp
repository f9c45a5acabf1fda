#include "base/shell.h"

#include "base/filesystem.h"
#include "base/path.h"

namespace Ostra {

namespace {

// "https:", "mailto:", "shell:": a scheme of two or more letters before the
// first ':' (one letter is a drive).
bool isAddress(const String& name) {
  int i = 0;
  while (i < name.length() &&
         ((name[i] >= u'a' && name[i] <= u'z') || (name[i] >= u'A' && name[i] <= u'Z') ||
          (i > 0 && ((name[i] >= u'0' && name[i] <= u'9') || name[i] == u'+' || name[i] == u'-' || name[i] == u'.')))) {
    ++i;
  }
  return i >= 2 && i < name.length() && name[i] == u':';
}

bool isFile(const String& path) {
  const unsigned attributes = fileAttributes(path);
  return attributes != kInvalidAttributes && (attributes & kDirectoryAttribute) == 0;
}

}  // namespace

String findProgram(const String& file) {
  if (file.empty() || isAddress(file)) return file;
  if (lastSeparator(file) >= 0 || !isRelative(file)) return fullPathName(file);
  std::vector<String> folders{currentDirectory()};
  for (const String& folder : programSearchFolders()) folders.push_back(folder);
  std::vector<String> names{file};
  if (extensionDot(file) < 0) {
    for (const String& extension : programExtensions()) names.push_back(file + extension);
  }
  for (const String& folder : folders) {
    if (folder.empty()) continue;
    for (const String& name : names) {
      const String candidate = ensureTrailingSeparator(folder) + name;
      if (isFile(candidate)) return fullPathName(candidate);
    }
  }
  return file;
}

}  // namespace Ostra
