#include <exception>

#include "base/critical_error_mode.h"
#include "base/environment.h"
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

SaveStepObserver saveStepObserver = nullptr;

void reached(SaveStep step, const String& path) {
  if (saveStepObserver) saveStepObserver(step, path);
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
    // The target is only ever replaced whole, by a rename of a temporary file
    // that is complete and on the disk: copying over it instead would leave a
    // half-written file behind a crash or a power loss.
    writeTextFile(temporary, text);
    reached(SaveStep::TemporaryWritten, path);
    syncFileToDisk(temporary);
    reached(SaveStep::TemporarySynced, path);
    moveFileOver(temporary, path);
    reached(SaveStep::Replaced, path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CConfigData::loadDefault() { return load(defaultConfigPath()); }

bool CConfigData::saveDefault() { return save(defaultConfigPath()); }

}  // namespace Ostra
