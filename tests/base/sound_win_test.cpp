// A sound file played to its end on one thread is stopped from another.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "base/sound_win.h"
#include "tests/support/temp_dir.h"

namespace Ostra::testing {
namespace {

// A RIFF WAVE file of silence: 8 kHz, 8-bit mono, that many seconds.
std::string silentWave(uint32_t seconds) {
  const uint32_t samples = 8000 * seconds;
  std::string bytes;
  const auto word = [&bytes](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  };
  bytes += "RIFF";
  word(36 + samples, 4);
  bytes += "WAVEfmt ";
  word(16, 4);
  word(1, 2);  // PCM
  word(1, 2);  // channels
  word(8000, 4);
  word(8000, 4);  // bytes a second
  word(1, 2);     // block
  word(8, 2);     // bits
  bytes += "data";
  word(samples, 4);
  bytes.append(samples, '\x80');
  return bytes;
}

TEST(Sound, StopEndsASoundPlayingOnAnotherThreadAtOnce) {
  TempDir folder;
  writeBytes(folder.file("long.wav"), silentWave(30));
  std::atomic<bool> over{false};
  std::thread player([&] {
    playSoundFile(folder.fileString("long.wav"));
    over = true;
  });
  Sleep(500);
  if (over) {
    player.join();
    GTEST_SKIP() << "no sound device: the sound was over at once";
  }
  const auto stopped = std::chrono::steady_clock::now();
  stopSound();
  player.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(3));
}

}  // namespace
}  // namespace Ostra::testing
