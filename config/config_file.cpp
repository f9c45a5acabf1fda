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

void replaceByTemporary(const String& temporary, const String& path) {
  for (int attempt = 1; attempt <= kMoveAttempts; ++attempt) {
    if (moveFileOver(temporary, path)) return;
    if (attempt < kMoveAttempts) std::this_thread::sleep_for(kMovePause);
  }
  // A program that keeps the target open (an editor, a sync client) still
  // lets it be written: copied over, the settings are saved, though no longer
  // in one step.
  copyPath(temporary, path, true);
  // The next save overwrites a temporary file that its holder keeps alive.
  try {
    deletePath(temporary, false);
  } catch (const IOException&) {
  }
}

}  // namespace

void setSaveStepObserver(SaveStepObserver observer) { saveStepObserver = observer; }

String defaultConfigPath() { return changeExtension(modulePath(), u"cfg"); }

bool CConfigData::load(const String& path) {
  try {
    CProcessExclusion exclusion(path);
    const ExclusionScope locked(exclusion);
    unsigned attributes;
    {
      const CriticalErrorBoxesOff quiet;
      attributes = fileAttributes(path);
    }
    if (attributes == kInvalidAttributes) return false;
    parseText(*this, readTextFile(path));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CConfigData::save(const String& path) {
  try {
    CProcessExclusion exclusion(path);
    const ExclusionScope locked(exclusion);
    const String temporary = path + u".tmp";
    const String text = composeText(*this);
    // The target is replaced whole, by a rename of a temporary file that is
    // complete and on the disk: copying over it would leave a half-written file
    // behind a crash or a power loss, so that is done only when the rename
    // stays refused.
    writeTextFile(temporary, text, WriteDurability::kToDisk);
    reached(SaveStep::TemporaryWritten, path);
    replaceByTemporary(temporary, path);
    reached(SaveStep::Replaced, path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CConfigData::loadDefault() { return load(defaultConfigPath()); }

bool CConfigData::saveDefault() { return save(defaultConfigPath()); }

}  // namespace Ostra
