#pragma once

#include <vector>

#include "base/string.h"

namespace Ostra {

// The process's command line as one text, the program first.  On POSIX it is
// rebuilt from the arguments, an argument with a blank (or an empty one) in
// double quotes, so that splitCommandLine gives them back.  Never throws.
String commandLine();

// The arguments of commandLine(); the first is the program as it was started.
std::vector<String> splitCommandLine();
// Splits at blanks (0x20; a tab inside an argument belongs to it) after
// skipping leading white space.  "..." is one argument without its quotes ("" is
// an empty one), a closing quote ends it even before other units, and an
// unclosed quote takes the rest of the line.  Backslashes are plain units.
std::vector<String> splitCommandLine(const String& line);

}  // namespace Ostra
