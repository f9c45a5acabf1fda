#pragma once

#include "base/string.h"

// The WAV notification.  Windows only: nothing else in the library plays sound.
namespace Ostra {

// Plays the WAV file to its end; the calling thread waits.  A file that cannot
// be played gives the system's default sound, which is still a notification.
void playSoundFile(const String& path);

// Ends the process's sound at once, also one that playSoundFile plays on
// another thread, which then returns; nothing when none plays.
void stopSound();

}  // namespace Ostra
