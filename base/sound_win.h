#pragma once

#include "base/string.h"

// The WAV notification.  Windows only: nothing else in the library plays sound.
namespace Ostra {

// Plays the WAV file to its end; the calling thread waits.  False when it could
// not be played (missing, unreadable, not a sound, no device): then nothing
// sounds, not even the system's default sound, which may be set to none.
bool playSoundFile(const String& path);

// Ends the process's sound at once, also one that playSoundFile plays on
// another thread, which then returns; nothing when none plays.
void stopSound();

}  // namespace Ostra
