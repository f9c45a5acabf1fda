#include <chrono>
#include <exception>
#include <thread>

#include "base/critical_error_mode.h"
#include "base/environment.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/text_file.h"
#include "config/config_data.h"
#include "config/config_text.h"
#include "config/file_commit.h"
#include "config/process_exclusion.h"
#include "config/save_steps.h"

namespace Ostra {

namespace {

// A rename refused because a file is in use is tried again this often, this far
// apart: the scanner that looks at the new file, or the backup client that
// reads the old one, mostly lets go within moments.
constexpr int kMoveAttempts = 10;
constexpr auto kMovePause = std::chrono::milliseconds(20);

SaveStepObserver saveStepObserver = nullptr;

void reached(SaveStep step, const String& path) {
  if (saveStepObserver) saveStepObserver(step, path);
}

// Whatever stands at the temporary name goes before the file is made new: a
// file left by a crash, or a link someone placed there, which is removed
// itself and never written through.  A real folder there holds someone's
// files: it stays, and the save fails.
void removeStaleTemporary(const String& temporary) {
  const unsigned attributes = fileAttributes(temporary);
  if (attributes == kInvalidAttributes) return;
  const bool link = (attributes & kReparsePointAttribute) != 0;
  if (!link && (attributes & kDirectoryAttribute) != 0) {
    throw IOException(temporary + u" はフォルダです");
  }
  deletePath(temporary, false);
}

void replaceByTemporary(const String& temporary, const String& path) {
  for (int attempt = 1; attempt <= kMoveAttempts; ++attempt) {
    if (moveFileOver(temporary, path)) return;
    if (attempt < kMoveAttempts) std::this_thread::sleep_for(kMovePause);
  }
  // A program that keeps the target open (an editor, a sync client) still
  // lets it be written: copied over, the settings are saved, though no longer
  // in one step.
  copyPath(temporary, path, true);
  // A temporary file that its holder keeps alive is removed by the next save.
  deletePathQuietly(temporary);
}

}  // namespace

void setSaveStepObserver(SaveStepObserver observer) { saveStepObserver = observer; }

String defaultConfigPath() { return changeExtension(modulePath(), u"cfg"); }

LoadResult CConfigData::read(const String& path) {
  try {
    CProcessExclusion exclusion(path);
    const ExclusionScope locked(exclusion);
    if (!locked.acquired()) return LoadResult::Failed;
    PathPresence presence;
    {
      const CriticalErrorBoxesOff quiet;
      presence = pathPresence(path);
    }
    if (presence == PathPresence::Missing) return LoadResult::Missing;
    if (presence == PathPresence::Unknown) return LoadResult::Failed;
    CConfigData parsed;
    if (!parseText(parsed, readTextFile(path, kMaxConfigFileBytes), kMaxConfigKeys)) return LoadResult::Failed;
    mergeFrom(parsed);
    return LoadResult::Loaded;
  } catch (const std::exception&) {
    return LoadResult::Failed;
  }
}

void CConfigData::mergeFrom(CConfigData& parsed) {
  // The file's entries win.  Whichever map is smaller is the one walked: a
  // large file goes into a document of fourteen defaults by one swap.
  if (entries_.size() <= parsed.entries_.size()) {
    for (auto& entry : entries_) parsed.entries_.insert(entry);  // keeps the file's value
    entries_.swap(parsed.entries_);
    return;
  }
  for (auto& entry : parsed.entries_) entries_.insert_or_assign(entry.first, entry.second);
}

bool CConfigData::save(const String& path) {
  try {
    CProcessExclusion exclusion(path);
    const ExclusionScope locked(exclusion);
    if (!locked.acquired()) return false;
    const String temporary = path + u".tmp";
    const String text = composeText(*this);
    removeStaleTemporary(temporary);
    // The target is replaced whole, by a rename of a temporary file that is
    // complete and on the disk: copying over it would leave a half-written file
    // behind a crash or a power loss, so that is done only when the rename
    // stays refused.  A temporary file that fails to be written is removed by
    // writeNewTextFile; one that cannot replace the target, here.
    writeNewTextFile(temporary, text, WriteDurability::kToDisk);
    reached(SaveStep::TemporaryWritten, path);
    try {
      replaceByTemporary(temporary, path);
    } catch (...) {
      deletePathQuietly(temporary);
      throw;
    }
    reached(SaveStep::Replaced, path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

LoadResult CConfigData::readDefault() { return read(defaultConfigPath()); }

bool CConfigData::loadDefault() { return load(defaultConfigPath()); }

bool CConfigData::saveDefault() { return save(defaultConfigPath()); }

}  // namespace Ostra
