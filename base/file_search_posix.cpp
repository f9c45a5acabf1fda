#include "base/file_search.h"

#include <dirent.h>
#include <fnmatch.h>

#include <cerrno>

#include "base/exception.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/system_path_posix.h"
#include "base/unique_handle_posix.h"

namespace Ostra {

struct FileSearch::State {
  UniqueDirectoryStream folder;
  std::string pattern;
  bool valid = false;
  String name;
  unsigned attributes = 0;
};

FileSearch::FileSearch(const String& pattern)
    : directory_(directoryPart(pattern)), pattern_(fileNamePart(pattern)), state_(std::make_unique<State>()) {
  State& state = *state_;
  // "*.*" is "everything" to the Windows search, a name with a dot to fnmatch.
  state.pattern = pattern_ == String(u"*.*") ? std::string("*") : systemPath(pattern_);
  state.folder.reset(opendir(directory_.empty() ? "." : systemPath(directory_).c_str()));
  if (!state.folder) {
    const int error = errno;
    const String message = pattern + u" の検索に失敗";
    errno = error;
    throw Win32Exception(message);
  }
  state.valid = true;
  next();
}

FileSearch::~FileSearch() = default;

bool FileSearch::valid() const { return state_->valid; }

bool FileSearch::next() {
  State& state = *state_;
  while (state.valid) {
    const dirent* entry = readdir(state.folder.get());
    if (entry == nullptr) {
      state.valid = false;
      break;
    }
    if (fnmatch(state.pattern.c_str(), entry->d_name, 0) != 0) continue;
    state.name = fromUtf8(entry->d_name);
    state.attributes = fileAttributes(directory_ + state.name);
    // An entry that went away between the listing and the look is not one.
    if (state.attributes == kInvalidAttributes) continue;
    return true;
  }
  return false;
}

String FileSearch::name() const { return state_->name; }

unsigned FileSearch::attributes() const { return state_->attributes; }

}  // namespace Ostra
