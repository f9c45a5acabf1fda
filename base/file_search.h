#pragma once

#include <memory>

#include "base/string.h"

namespace Ostra {

// One directory search in progress, positioned on its current entry; the
// system's search is closed when the object goes, also when an exception
// passes.  The "." and ".." entries are returned like the others.
class FileSearch {
 public:
  // pattern is a folder and a name pattern, as "C:\d\*".  Win32Exception
  // pattern + " の検索に失敗" when the search cannot start; a folder that
  // exists but has no matching entry gives an empty search.
  explicit FileSearch(const String& pattern);
  ~FileSearch();
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  // False once every entry has been seen.
  bool valid() const;
  // Moves to the next entry; false when there is none.
  bool next();

  const String& directory() const { return directory_; }
  const String& pattern() const { return pattern_; }
  String name() const;
  // directory() + name().
  String path() const { return directory_ + name(); }
  // Attribute bits of the entry itself (base/filesystem.h), not of a link's target.
  unsigned attributes() const;

 private:
  struct State;

  const String directory_;
  const String pattern_;
  std::unique_ptr<State> state_;
};

}  // namespace Ostra
