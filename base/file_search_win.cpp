#include "base/file_search.h"

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/platform_win.h"
#include "base/unique_handle_win.h"

namespace Ostra {

struct FileSearch::State {
  UniqueFindHandle handle;
  bool wide = true;
  bool valid = false;
  WIN32_FIND_DATAW wideData{};
  WIN32_FIND_DATAA ansiData{};
};

FileSearch::FileSearch(const String& pattern)
    : directory_(directoryPart(pattern)), pattern_(fileNamePart(pattern)), state_(std::make_unique<State>()) {
  State& state = *state_;
  state.wide = useWideCalls();
  state.handle.reset(state.wide ? FindFirstFileW(wide(pattern), &state.wideData)
                                : FindFirstFileA(defaultEncoding().encode(pattern).c_str(), &state.ansiData));
  if (state.handle) {
    state.valid = true;
    return;
  }
  const DWORD error = GetLastError();
  // An existing folder with no match (an empty drive root has not even "."):
  // an empty search, not a failure.
  if (error == ERROR_FILE_NOT_FOUND && (directory_.empty() || isDirectory(directory_))) return;
  const String message = pattern + u" の検索に失敗";
  SetLastError(error);
  throw Win32Exception(message);
}

FileSearch::~FileSearch() = default;

bool FileSearch::valid() const { return state_->valid; }

bool FileSearch::next() {
  State& state = *state_;
  if (!state.valid) return false;
  state.valid = state.wide ? FindNextFileW(state.handle.get(), &state.wideData) != FALSE
                           : FindNextFileA(state.handle.get(), &state.ansiData) != FALSE;
  return state.valid;
}

String FileSearch::name() const {
  if (state_->wide) return fromWide(state_->wideData.cFileName);
  return defaultEncoding().decode(state_->ansiData.cFileName);
}

unsigned FileSearch::attributes() const {
  return state_->wide ? state_->wideData.dwFileAttributes : state_->ansiData.dwFileAttributes;
}

}  // namespace Ostra
