#include "base/filesystem.h"

#include "base/exception.h"
#include "base/file_search.h"
#include "base/filesystem_platform.h"
#include "base/path.h"

namespace Ostra {

namespace {

enum class Listing { files, directories, entries };

bool isLink(unsigned attributes) {
  return attributes != kInvalidAttributes && (attributes & kReparsePointAttribute) != 0;
}

void collect(const String& dir, int depth, Listing kind, std::vector<String>& out) {
  for (FileSearch search(directoryPart(dir) + u"*"); search.valid(); search.next()) {
    const unsigned attributes = search.attributes();
    if ((attributes & kDirectoryAttribute) == 0) {
      if (kind != Listing::directories) out.push_back(search.path());
      continue;
    }
    const String name = search.name();
    if (name.empty() || name[0] == u'.') continue;
    const String folder = search.path() + u"\\";
    if (kind != Listing::files) out.push_back(folder);
    // A link's tree belongs elsewhere (and may hold this folder again).
    if (depth == 0 || isLink(attributes)) continue;
    std::vector<String> below;
    try {
      collect(folder, depth - 1, kind, below);
    } catch (const std::exception&) {
      continue;  // a subtree that cannot be searched is left out
    }
    out.insert(out.end(), below.begin(), below.end());
  }
}

std::vector<String> list(const String& dir, int depth, Listing kind) {
  std::vector<String> out;
  collect(dir, depth, kind, out);
  return out;
}

void throwDeleteFailed(const String& path) { throw IOException(path + u"の削除に失敗しました"); }

}  // namespace

std::vector<String> listFiles(const String& dir, int depth) { return list(dir, depth, Listing::files); }
std::vector<String> listDirectories(const String& dir, int depth) { return list(dir, depth, Listing::directories); }
std::vector<String> listEntries(const String& dir, int depth) { return list(dir, depth, Listing::entries); }

void copyPath(const String& source, const String& target, bool overwrite) {
  const bool sourceIsFolder = !source.empty() && isSeparator(source[source.length() - 1]);
  const bool targetIsFolder = !target.empty() && isSeparator(target[target.length() - 1]);
  if (targetIsFolder && sourceIsFolder) {
    for (const String& folder : listDirectories(source, 0)) {
      if (isLink(fileAttributes(stripTrailingSeparator(folder)))) continue;
      copyPath(folder, target + containingDirectoryName(folder) + u"\\", overwrite);
    }
    for (const String& file : listFiles(source, 0)) copyPath(file, target, overwrite);
    return;
  }
  if (targetIsFolder) {
    copyPath(source, target + fileNamePart(source), overwrite);
    return;
  }
  createDirectories(directoryPart(target));
  if (!platform::copyFile(source, target, !overwrite)) {
    throw IOException(u"ファイルのコピーに失敗しました (" + source + u" → " + target + u")");
  }
}

void deletePath(const String& path, bool clearAttributes) {
  if (!isDirectory(path)) {
    if (clearAttributes) clearFileAttributes(path);
    if (!platform::deleteFile(path)) throwDeleteFailed(path);
    return;
  }
  const String folder = stripTrailingSeparator(path);
  const unsigned attributes = fileAttributes(folder);
  // Before the contents: on POSIX a folder without write permission keeps its
  // entries, and clearing it first changes nothing on Windows.
  if (clearAttributes) clearFileAttributes(folder);
  if (!isLink(attributes)) {
    // Every entry, the dot-named folders too: the listings skip those, and a
    // folder that kept one could not be removed after its other contents had
    // already gone.  A link is removed as a link, its target left alone.
    std::vector<String> entries;
    for (FileSearch search(ensureTrailingSeparator(path) + u"*"); search.valid(); search.next()) {
      const String name = search.name();
      if (name == String(u".") || name == String(u"..")) continue;
      entries.push_back(search.path());
    }
    for (const String& entry : entries) deletePath(entry, clearAttributes);
  }
  if (!platform::removeDirectory(folder)) throwDeleteFailed(path);
}

void deletePathQuietly(const String& path) {
  try {
    deletePath(path, false);
  } catch (const IOException&) {
  }
}

void createDirectories(const String& path) {
  if (path.empty()) return;
  if (!isSeparator(path[path.length() - 1])) {
    const String folder = directoryPart(path);
    if (!folder.empty()) createDirectories(folder);
    return;
  }
  if (isDirectory(path)) return;
  const String parent = parentDirectory(path);
  if (!parent.empty()) createDirectories(parent);
  if (!platform::createDirectory(path)) throw IOException(path + u"の作成に失敗しました");
}

String nearestExistingDirectory(const String& path) {
  // parentDirectory always gives a shorter text, so this ends.
  for (String candidate = path; !candidate.empty(); candidate = parentDirectory(candidate)) {
    if (isDirectory(candidate)) return candidate;
  }
  return emptyString();
}

}  // namespace Ostra
