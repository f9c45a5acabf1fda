#include "base/sound_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

// windows.h (through platform_win.h) must come before mmsystem.h.
#include "base/platform_win.h"

#include <mmsystem.h>

#include "tests/support/temp_dir.h"

using Ostra::testing::TempDir;
using Ostra::testing::writeBytes;

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 8-bit PCM WAV of a square tone lasting `seconds`.
std::string toneWav(int seconds) {
  const uint32_t rate = 8000;
  const uint32_t samples = rate * static_cast<uint32_t>(seconds);
  std::string wav = "RIFF";
  putLittleEndian(wav, 36 + samples, 4);
  wav += "WAVEfmt ";
  putLittleEndian(wav, 16, 4);
  putLittleEndian(wav, 1, 2);  // PCM
  putLittleEndian(wav, 1, 2);  // mono
  putLittleEndian(wav, rate, 4);
  putLittleEndian(wav, rate, 4);  // bytes a second
  putLittleEndian(wav, 1, 2);     // block align
  putLittleEndian(wav, 8, 2);     // bits a sample
  wav += "data";
  putLittleEndian(wav, samples, 4);
  for (uint32_t i = 0; i < samples; ++i) wav.push_back(static_cast<char>((i / 10) % 2 ? 0xC0 : 0x40));
  return wav;
}

// Why the sound tests cannot hear anything here, or empty when they can.
std::string noSoundDevice() {
  if (waveOutGetNumDevs() > 0) return {};
  const char* why = std::getenv("KAIRON_NO_SOUND");
  return std::string("no sound device") + (why && *why ? ": " + std::string(why) : std::string());
}

TEST(Sound, AWavPlayedToItsEndTakesItsOwnLength) {
  if (const std::string why = noSoundDevice(); !why.empty()) GTEST_SKIP() << "NOT RUN: " << why;
  TempDir dir;
  writeBytes(dir.file("two-seconds.wav"), toneWav(2));
  const auto begin = std::chrono::steady_clock::now();
  Ostra::playSoundFile(dir.fileString("two-seconds.wav"));
  const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_GE(took, 1.8);
  EXPECT_LE(took, 5.0);  // the device's own latency, on a busy machine too
}

}  // namespace
