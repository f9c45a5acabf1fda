#pragma once

#include "base/string.h"
#include "config/config_data.h"

// The question before a template from another computer launches a program or
// plays a sound from the network: when it is asked and what it says.

// True when settings read from the template at path would launch a program or
// play a sound from another computer (a network path), and the file came from
// another computer (isFromAnotherComputer): the user is asked first.  Not for
// a malformed NotifyExe, which the copy into the controls stops at, before
// the program's keys.
bool launchNeedsConsent(const Ostra::CConfigData& settings, const Ostra::String& templatePath);
// True when the settings play a sound from a network path (a failed
// expansion plays nothing).
bool playsNetworkSound(const Ostra::CConfigData& settings);
// True when NotifyExe holds exactly "true".
bool launchesProgram(const Ostra::CConfigData& settings);
// The question before such a launch: the program as the launch resolves it
// (Win32Exception when its expansion fails), a shortcut's target and
// arguments, an internet shortcut's address, the arguments, and a network
// sound; every value through shownText.  Reads a shortcut only off the network.
Ostra::String launchConfirmationMessage(const Ostra::CConfigData& settings);
