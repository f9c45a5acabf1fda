#pragma once

#include "base/string.h"

namespace Ostra {

// Opens a document or starts a program, as the shell's "open" does, without
// waiting for it.  parameters is one command-line text.  showCommand is a
// Windows SW_ value (ignored on POSIX, where a program is run with parameters
// split as splitCommandLine does and anything else goes to xdg-open).  False
// when nothing could be started (no such file, no program for it, access
// denied); never throws.
bool shellOpen(const String& file, int showCommand);
bool shellOpen(const String& file, const String& parameters, int showCommand);

}  // namespace Ostra
