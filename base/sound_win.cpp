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

bool playSoundFile(const String& path) {
  // SND_NODEFAULT: a file that cannot be played must fail, so that the caller
  // can sound something sure instead of the default sound (often set to none).
  constexpr DWORD kFlags = SND_FILENAME | SND_NODEFAULT;
  if (useWideCalls()) return playSoundW(wide(path), nullptr, kFlags) != FALSE;
  return playSoundA(defaultEncoding().encode(path).c_str(), nullptr, kFlags) != FALSE;
}

void stopSound() {
  // A null name stops the waveform sound that PlaySound plays, synchronous ones
  // included: the player's wait ends and its PlaySound returns.
  playSoundW(nullptr, nullptr, 0);
}

}  // namespace Ostra
