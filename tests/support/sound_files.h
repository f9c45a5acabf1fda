#pragma once

#include <string>

namespace Ostra::testing {

// A PCM WAV file holding `seconds` of an 886 Hz tone, 8 kHz, 8 bits, mono.
std::string toneWave(int seconds);

// Why a test that must hear a sound cannot run here (no waveform output
// device, and KAIRON_NO_SOUND's reason when set), or empty when it can.
// Windows only.
std::string noSoundDevice();

}  // namespace Ostra::testing
