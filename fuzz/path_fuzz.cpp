// The path functions against arbitrary text, and the folder listing against
// arbitrary file names.  The input is read twice: as UTF-16 units cut at
// U+0001 into a path, a base, an extension and a command line; and as bytes
// cut at NUL into file names, made in a private temporary folder (never
// anywhere else: a name holds no '/' and is neither "." nor "..") and listed.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/string.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;
namespace fs = std::filesystem;

bool contains(const String& text, char16_t unit) { return text.str().find(unit) != std::u16string::npos; }

void resolvingKeepsItsRules(const String& path, const String& base) {
  const String literal = resolveLiteralPath(path, base);
  if (!isRelative(path) || base.empty()) require(literal == toBackslashes(path), "absolute or no base: as written");
  // The base is kept as written; what comes from the path is written with '\'.
  if (!contains(base, u'/')) require(literal == path || !contains(literal, u'/'), "the path's separators become '\\'");
  try {
    require(resolvePath(path, base) == resolveLiteralPath(expandEnvironment(path), base),
            "resolvePath is expansion, then the literal resolution");
  } catch (const std::exception&) {
    // The expansion may report a failing system; that is its contract.
  }
}

void splittingRoundTrips(const String& line) {
  const std::vector<String> arguments = splitCommandLine(line);
  for (const String& argument : arguments) {
    if (contains(argument, u'"')) return;  // no quoting can carry it back
  }
  String joined;
  for (const String& argument : arguments) joined += (joined.empty() ? u"\"" : u" \"") + argument + u"\"";
  require(splitCommandLine(joined) == arguments, "quoted arguments split back into the same arguments");
}

void extensionRules(const String& path, const String& ext) {
  const String removed = changeExtension(path, String());
  require(removed.str() == path.str().substr(0, removed.length()), "removing an extension leaves a prefix");
  if (ext.empty() || contains(ext, u'.') || contains(ext, u'\\') || contains(ext, u'/')) return;
  const String changed = changeExtension(path, ext);
  const std::u16string tail = u"." + ext.str();
  const std::u16string& units = changed.str();
  require(units.size() >= tail.size() && units.substr(units.size() - tail.size()) == tail,
          "the new extension ends the path");
  require(directoryPart(changed) == directoryPart(path), "the folder part stays");
  if (fileNamePart(changed)[0] != u'.') require(changeExtension(changed, ext) == changed, "changing twice is once");
}

// The private folder every listing is made in, emptied before each input.
const fs::path& scratchFolder() {
  static const fs::path folder = [] {
    char pattern[] = "/tmp/kairon-path-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    require(made != nullptr, "a temporary folder");
    return fs::path(made);
  }();
  return folder;
}

bool isValidUtf8(const std::string& bytes) { return toUtf8(fromUtf8(bytes)) == bytes; }

void listingShowsOddNames(const std::uint8_t* data, std::size_t size) {
  const fs::path& folder = scratchFolder();
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
  if (size == 0) return;
  const unsigned directoryMask = data[0];  // which of the first names become folders

  std::set<String> files, folders, expectedFiles, expectedFolders;
  std::string name;
  int made = 0;
  bool carried = true;  // every name made is one the library can carry
  for (std::size_t i = 1; i <= size && made < 16; ++i) {
    if (i < size && data[i] != 0) {
      if (name.size() < 255) name += static_cast<char>(data[i]);
      continue;
    }
    const bool folderWanted = made < 8 && (directoryMask >> made & 1u);
    const std::string candidate = name;
    name.clear();
    if (candidate.empty() || candidate == "." || candidate == ".." || candidate.find('/') != std::string::npos)
      continue;
    const std::string full = (folder / candidate).string();
    const bool created = folderWanted ? mkdir(full.c_str(), 0700) == 0 : [&] {
      const int fd = open(full.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
      if (fd >= 0) close(fd);
      return fd >= 0;
    }();
    if (!created) continue;
    ++made;
    const String shown = fromUtf8(candidate);
    (folderWanted ? folders : files).insert(shown);
    // The names the library can carry: valid UTF-8, no '\' (a separator to
    // it), and for folders no leading '.' (those it skips on purpose).
    if (!isValidUtf8(candidate) || candidate.find('\\') != std::string::npos) {
      carried = false;
      continue;
    }
    if (folderWanted && candidate[0] == '.') continue;
    (folderWanted ? expectedFolders : expectedFiles).insert(shown);
  }

  const String dir = fromUtf8(folder.string() + "/");
  std::multiset<String> listedFiles, listedFolders;
  for (const String& path : listFiles(dir, 0)) {
    require(path.str().substr(0, dir.length()) == dir.str(), "a listed file is in the folder");
    listedFiles.insert(fileNamePart(path));
  }
  for (const String& path : listDirectories(dir, 0)) {
    require(path.str().substr(0, dir.length()) == dir.str(), "a listed folder is in the folder");
    listedFolders.insert(fileNamePart(stripTrailingSeparator(path)));
  }
  // A POSIX name with '\' or bytes that are not UTF-8 cannot be carried (no
  // Windows name is either): it is left out, or "a\b" shows as the entry b of
  // the folder a.  Every other name is listed, and then exactly once.
  const auto listedOnce = [&](size_t count) { return carried ? count == 1 : count >= 1; };
  for (const String& file : expectedFiles) require(listedOnce(listedFiles.count(file)), "every file is listed");
  for (const String& sub : expectedFolders) require(listedOnce(listedFolders.count(sub)), "every folder is listed");
  if (!carried) return;
  for (const String& file : listedFiles) require(files.count(file) == 1, "a listed file is one that was made");
  for (const String& sub : listedFolders) require(folders.count(sub) == 1, "a listed folder is one that was made");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string units = Ostra::fuzzing::unitsOf(data, size);
  std::vector<String> pieces;
  for (std::u16string& piece : Ostra::fuzzing::piecesOf(units, 4)) pieces.emplace_back(std::move(piece));

  resolvingKeepsItsRules(pieces[0], pieces[1]);
  extensionRules(pieces[0], pieces[2]);
  splittingRoundTrips(pieces[3]);
  splittingRoundTrips(String(units));
  listingShowsOddNames(data, size);
  return 0;
}
