#pragma once

#include "base/string.h"

namespace Ostra {

// The points between the steps of CConfigData::save, in order.  A program that
// must prove what a crash at each point leaves on disk (the tests' child
// process) can watch them; nothing else does.
enum class SaveStep {
  TemporaryWritten,  // "<path>.tmp" holds the whole text, on the disk; the target is untouched
  Replaced,          // the target holds the new text; the lock is still held
};

using SaveStepObserver = void (*)(SaveStep step, const String& path);

// Replaces the observer (none at first; nullptr removes it).  Not thread-safe:
// set it before any save runs.
void setSaveStepObserver(SaveStepObserver observer);

}  // namespace Ostra
