#include "tests/support/sound_files.h"

#include <cmath>
#include <cstdint>

namespace Ostra::testing {

std::string toneWave(int seconds) {
  constexpr uint32_t kRate = 8000;
  const uint32_t samples = kRate * static_cast<uint32_t>(seconds);
  std::string wav;
  const auto put = [&wav](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wav += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  wav += "RIFF";
  put(36 + samples, 4);
  wav += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kRate, 4);
  put(kRate, 4);  // bytes per second
  put(1, 2);      // block
  put(8, 2);      // bits
  wav += "data";
  put(samples, 4);
  for (uint32_t i = 0; i < samples; ++i) {
    wav += static_cast<char>(128 + std::lround(60 * std::sin(2 * 3.14159265 * 886 * i / kRate)));
  }
  return wav;
}

}  // namespace Ostra::testing
