#pragma once

#include "base/string.h"

// The files the expiry's notifications use, as the name in an edit or a key
// becomes a path: the program it launches and the sound it plays.

// The program the expiry launches for the name in its edit or in the
// "NotifyExeFile" key: its references expanded (resolvePath with no base),
// then found as the shell finds it (findProgram), so that the question shows
// the file that runs (Win32Exception when the expansion fails).
Ostra::String programToLaunch(const Ostra::String& named);
// The sound file the expiry plays for the name in its edit or in the
// "NotifyWavFile" key: resolveFromExecutable (Win32Exception when the
// expansion fails).
Ostra::String soundToPlay(const Ostra::String& named);
