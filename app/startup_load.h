#pragma once

#include "base/string.h"
#include "config/config_data.h"

// The settings a start begins with: the defaults, the default-settings file
// beside the program and the start-up file the command line or the tray names.

// What the start-up could not read; each empty when nothing went wrong.
struct StartupFailures {
  Ostra::String defaultFile;  // the default-settings file, there but unreadable
  Ostra::String startupFile;  // the last name tried for the start-up file
  // The error texts of the first malformed key: of the default-settings file
  // (that key has its default), of the start-up file (not applied at all).
  Ostra::String malformedDefault;
  Ostra::String malformedStartup;
};

// How a start-up file is named: typed by the user (its %NAME% references
// expanded), or a file name as the folder lists it (taken literally).
enum class StartupName { Typed, Literal };

// Start-up settings: the defaults, then the default-settings file (created
// with the defaults only when it does not exist; one that is there but cannot
// be read leaves the defaults and is not written; its malformed keys keep
// their defaults), then the start-up file when one is named: first as given
// (relative to the template folder), then, when it is not loaded so, with the
// extension "tpt"; a malformed one is left out as a whole.  loadedTemplate, when given,
// is set to the path the start-up file was loaded from (and left alone when
// none was).
StartupFailures loadStartupSettings(Ostra::CConfigData& settings, const Ostra::String& startupFile,
                                    Ostra::String* loadedTemplate = nullptr, StartupName naming = StartupName::Typed);
