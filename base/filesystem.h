#pragma once

#include <vector>

#include "base/string.h"

// Files and directories.  A directory given to the copy, delete, create and
// listing functions is written with a trailing separator; that separator is
// how copyPath tells a directory from a file.  Failures throw IOException
// (path + fixed suffix) or, for a listing, Win32Exception.
//
// Links: a symbolic link or a junction to a directory is an entry of its
// folder like any other, but nothing here follows it into the tree it points
// at: the listings do not descend into it, copyPath leaves it out, and
// deletePath removes the link itself and never empties its target.
namespace Ostra {

// Attribute bits as fileAttributes gives them (the system's values on Windows;
// mapped from the file status on POSIX).
constexpr unsigned kReadOnlyAttribute = 0x01;
constexpr unsigned kDirectoryAttribute = 0x10;
constexpr unsigned kNormalAttribute = 0x80;
constexpr unsigned kReparsePointAttribute = 0x400;
constexpr unsigned kInvalidAttributes = 0xFFFFFFFFu;

// The attributes of the path itself (a link's own, with the directory bit
// when it leads to a directory); kInvalidAttributes when it does not exist or
// cannot be read.  Never throws.
unsigned fileAttributes(const String& path);
// What one query of the path itself found: it is there, nothing is there (no
// such file, or no folder on the way to it), or the system could not tell
// (access denied, a drive that is not ready, a name it refuses).  Never throws.
enum class PathPresence { Present, Missing, Unknown };
PathPresence pathPresence(const String& path);
// Clears read-only and the other settable attributes; the result is not
// examined.  On POSIX: gives the owner write permission (a link is left alone).
void clearFileAttributes(const String& path);
// True when the path, with or without a trailing separator, names a directory
// (or a link to one).  Asks without the system's critical-error box.
bool isDirectory(const String& path);

// Copies a file or a directory tree.  "dir\" to "dir\": the tree, subfolders
// before the files beside them; empty folders are not reproduced, and folders
// whose names begin with '.' are left out as the listings leave them.  "file" to
// "dir\": into the folder under its own name.  "file" to "file": the target's
// folders are created first.  IOException "ファイルのコピーに失敗しました (src → dst)"
// when a file copy fails (also onto an existing file when overwrite is false,
// and onto the source itself); Win32Exception from a failed listing.  What was
// copied before a failure stays.
void copyPath(const String& source, const String& target, bool overwrite);

// Deletes a file or a directory tree (with or without its trailing separator).
// clearAttributes clears read-only first, so read-only entries go too.
// IOException path + "の削除に失敗しました" on failure, also when nothing exists
// by that name.  What was deleted before a failure stays deleted.
void deletePath(const String& path, bool clearAttributes);
// deletePath(path, false) for a leftover that may stay where it is (a file its
// holder keeps open goes with a later attempt): a failure is not reported.
void deletePathQuietly(const String& path);

// "C:\a\b\" creates that folder and its missing ancestors, top down;
// "C:\a\b\c.txt" creates the folder that is to hold the file.  Existing ones
// are fine.  IOException path + "の作成に失敗しました" for the folder that could
// not be created.  A path without any separator has no folder: nothing happens.
void createDirectories(const String& path);

// The entries of the folder directoryPart(dir) (so "C:\d\" lists C:\d), in the
// system's order: files as their paths, folders as their paths with a trailing
// '\'.  Folders whose names begin with '.' are skipped with all they hold.
// depth 0 lists the folder alone, n descends n levels (each folder's contents
// right after it), a negative depth has no limit; a subfolder that cannot be
// searched is left out.  Win32Exception pattern + " の検索に失敗" when dir
// itself cannot be searched.
std::vector<String> listFiles(const String& dir, int depth);
std::vector<String> listDirectories(const String& dir, int depth);
std::vector<String> listEntries(const String& dir, int depth);

// The path if it is a directory, else the nearest of its parentDirectory values
// that is; empty when none is.
String nearestExistingDirectory(const String& path);

// As the system gives it, without an added separator.  Never throws.
String currentDirectory();
// The path as the system completes it before it opens it: absolute against
// the current directory, and on Windows with the trailing dots and blanks of
// its last part dropped (GetFullPathNameW: "a.tpt. " opens "a.tpt").  The
// path itself when the system refuses it.  Never throws.
String fullPathName(const String& path);
// False when the system refuses; never throws.
bool setCurrentDirectory(const String& path);

// Puts the current directory back, also when an exception passes (the common
// file dialogs move it).
class CurrentDirectoryScope {
 public:
  CurrentDirectoryScope() : saved_(currentDirectory()) {}
  ~CurrentDirectoryScope() { setCurrentDirectory(saved_); }
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

  const String& saved() const { return saved_; }

 private:
  const String saved_;
};

}  // namespace Ostra
