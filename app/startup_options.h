#pragma once

#include <vector>

#include "base/string.h"

// What the command line asks for at start-up.
enum class StartupMode : int {
  None = 0,    // a start-up file, when loaded, starts the countdown at once
  Open = 1,    // "/open": the file's settings are shown, nothing starts
  Select = 2,  // "/select": the template-load dialog opens at once
};

struct StartupOptions {
  Ostra::String file;                    // the template named first; empty when none
  StartupMode mode = StartupMode::None;  // the last switch given wins
  std::vector<Ostra::String> extras;     // further names, each to be reported
};

// From the arguments after the program name.  Switches are whole, case-
// sensitive tokens ("/OPEN" is a file name), in any order with the file.
StartupOptions parseStartupArguments(const std::vector<Ostra::String>& arguments);

// The box text for an argument that has no place.
Ostra::String extraArgumentMessage(const Ostra::String& argument);
