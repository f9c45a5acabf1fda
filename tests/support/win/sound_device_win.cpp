// windows.h must come before mmsystem.h.
#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>

#include "tests/support/sound_files.h"

namespace Ostra::testing {

std::string noSoundDevice() {
  if (waveOutGetNumDevs() > 0) return {};
  const char* why = std::getenv("KAIRON_NO_SOUND");
  return std::string("no sound device") + (why && *why ? ": " + std::string(why) : std::string());
}

}  // namespace Ostra::testing
