// windows.h (through platform_win.h) must come before mmsystem.h.
#include "base/platform_win.h"

#include <mmsystem.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/sound_win.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

const SystemFunction<decltype(PlaySoundW)> playSoundW{winmmLibrary, "PlaySoundW", FALSE};
const SystemFunction<decltype(PlaySoundA)> playSoundA{winmmLibrary, "PlaySoundA", FALSE};

}  // namespace

void playSoundFile(const String& path) {
  // Without SND_NODEFAULT, so that a broken file still makes a sound.
  if (useWideCalls()) {
    playSoundW(wide(path), nullptr, SND_FILENAME);
    return;
  }
  playSoundA(defaultEncoding().encode(path).c_str(), nullptr, SND_FILENAME);
}

void stopSound() {
  // A null name stops the waveform sound that PlaySound plays, synchronous ones
  // included: the player's wait ends and its PlaySound returns.
  playSoundW(nullptr, nullptr, 0);
}

}  // namespace Ostra
