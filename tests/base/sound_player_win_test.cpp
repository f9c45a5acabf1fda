#include "base/sound_player_win.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <string>

#include "base/call_form.h"
#include "base/encoding.h"
#include "tests/support/sound_files.h"
#include "tests/support/temp_dir.h"

using Ostra::CSoundPlayer;
using Ostra::String;
using Ostra::testing::noSoundDevice;
using Ostra::testing::TempDir;
using Ostra::testing::toneWave;
using Notice = CSoundPlayer::Notice;

namespace {

// A message-only window that the player's notices are posted to.
class NoticeWindow {
 public:
  NoticeWindow()
      : handle_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~NoticeWindow() { DestroyWindow(handle_); }
  HWND handle() const { return handle_; }

  // The first notice that means something to player, within timeoutMs; None
  // when none came.
  Notice wait(CSoundPlayer& player, DWORD timeoutMs) {
    const ULONGLONG until = GetTickCount64() + timeoutMs;
    for (;;) {
      MSG msg{};
      while (PeekMessageW(&msg, handle_, MM_WOM_DONE, MM_WOM_DONE, PM_REMOVE)) {
        const Notice notice = player.onDone(msg.wParam, msg.lParam);
        if (notice != Notice::None) return notice;
      }
      const ULONGLONG now = GetTickCount64();
      if (now >= until) return Notice::None;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_POSTMESSAGE);
    }
  }

 private:
  HWND handle_;
};

// Without a sound device the wave mapper refuses every sound at once, and
// only the refusals can be checked.
bool soundDevice() {
  if (waveOutGetNumDevs() > 0) return true;
  std::cout << "[   NOTE   ] no waveform output device: only failures are checked\n";
  return false;
}

// Paths that must not play, in both call forms, each beside a real WAV that
// a shortened or approximated path would reach.
TEST(SoundPlayer, RefusesWhatItCannotCarryWhole) {
  TempDir dir;
  Ostra::testing::writeBytes(dir.file("a.wav"), toneWave(1));
  // Lexically the same file, but longer than the classic path length.
  std::u16string dots;
  while (dots.size() < MAX_PATH) dots += u"\\.";
  const String tooLong = dir.string() + String(dots) + u"\\a.wav";
  // A letter that the ANSI code pages lack: WideCharToMultiByte's best fit
  // makes it a plain s.  That file exists too.
  const String approximated = dir.string() + u"\\\u015D.wav";
  Ostra::Encoding& encoding = Ostra::defaultEncoding();
  const String fitted = encoding.decode(encoding.encode(approximated));
  if (fitted != approximated && fitted.str().find(u'?') == std::u16string::npos) {
    Ostra::testing::writeBytes(Ostra::testing::toPath(fitted), toneWave(1));
  }
  // Files that only look like sounds, each beside the whole one above.
  const std::string wave = toneWave(1);
  const struct {
    const char* name;
    std::string bytes;
  } malformed[] = {
      {"text.wav", "not a sound"},
      {"cut-header.wav", wave.substr(0, 30)},
      {"no-format.wav", wave.substr(0, 12) + wave.substr(36)},
      {"no-data.wav", wave.substr(0, 36)},
      {"empty-data.wav", wave.substr(0, 40) + std::string(4, '\0')},
      {"zero-block.wav", wave.substr(0, 32) + std::string(2, '\0') + wave.substr(34)},
      {"huge-chunk.wav", wave.substr(0, 12) + "LIST\xff\xff\xff\xff" + wave.substr(12)},
  };
  for (const auto& file : malformed) Ostra::testing::writeBytes(dir.file(file.name), file.bytes);
  NoticeWindow window;
  for (const auto& file : malformed) {
    CSoundPlayer player(window.handle());
    EXPECT_FALSE(player.play(dir.fileString(file.name))) << file.name;
  }
  for (const bool wideCalls : Ostra::availableCallForms()) {
    std::unique_ptr<Ostra::ScopedAnsiCallsForTesting> ansi;
    if (!wideCalls) ansi = std::make_unique<Ostra::ScopedAnsiCallsForTesting>();
    CSoundPlayer player(window.handle());
    EXPECT_FALSE(player.play(tooLong)) << "wide " << wideCalls;
    EXPECT_FALSE(player.play(dir.fileString("missing.wav"))) << "wide " << wideCalls;
    EXPECT_FALSE(player.play(String())) << "wide " << wideCalls;
    if (!wideCalls && fitted != approximated) {
      EXPECT_FALSE(player.play(approximated));
    }
    EXPECT_FALSE(player.playing());
  }
}

TEST(SoundPlayer, AWavPlayedToItsEndTakesItsOwnLength) {
  if (const std::string why = noSoundDevice(); !why.empty()) GTEST_SKIP() << "NOT RUN: " << why;
  TempDir dir;
  Ostra::testing::writeBytes(dir.file("two-seconds.wav"), toneWave(2));
  NoticeWindow window;
  CSoundPlayer player(window.handle());
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_TRUE(player.play(dir.fileString("two-seconds.wav")));
  EXPECT_EQ(Notice::Ended, window.wait(player, 10000));
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  EXPECT_GE(took, 1.8);
  EXPECT_LE(took, 5.0);  // the device's own latency, on a busy machine too
}

TEST(SoundPlayer, TellsTheWindowWhenTheSoundHasPlayed) {
  TempDir dir;
  Ostra::testing::writeBytes(dir.file("one.wav"), toneWave(1));
  NoticeWindow window;
  CSoundPlayer player(window.handle());
  if (!soundDevice()) {
    EXPECT_FALSE(player.play(dir.fileString("one.wav")));
    EXPECT_FALSE(player.playTone(886, 1000));
    EXPECT_FALSE(player.playing());
    GTEST_SKIP() << "no sound device: a real sound's end not checked";
  }
  const ULONGLONG started = GetTickCount64();
  ASSERT_TRUE(player.play(dir.fileString("one.wav")));
  EXPECT_TRUE(player.playing());
  EXPECT_EQ(Notice::Ended, window.wait(player, 10000));
  // Told at the end of the second of sound, not when it began.
  EXPECT_GE(GetTickCount64() - started, 900u);
  EXPECT_FALSE(player.playing());
  // The beep, made as it plays, ends the same way.
  const ULONGLONG beeping = GetTickCount64();
  ASSERT_TRUE(player.playTone(886, 1000));
  EXPECT_EQ(Notice::Ended, window.wait(player, 10000));
  EXPECT_GE(GetTickCount64() - beeping, 900u);
}

TEST(SoundPlayer, StopSilencesAtOnceAndTellsNoEnd) {
  TempDir dir;
  Ostra::testing::writeBytes(dir.file("long.wav"), toneWave(30));
  Ostra::testing::writeBytes(dir.file("one.wav"), toneWave(1));
  if (!soundDevice()) GTEST_SKIP() << "no sound device";
  NoticeWindow window;
  CSoundPlayer player(window.handle());
  ASSERT_TRUE(player.play(dir.fileString("long.wav")));
  Sleep(300);
  const ULONGLONG stopping = GetTickCount64();
  player.stop();
  // A stop that waited for the sound would take the rest of its 30 s.
  const ULONGLONG stopMs = GetTickCount64() - stopping;
  EXPECT_LT(stopMs, 5000u);
  std::cout << "[   NOTE   ] the stop returned after " << stopMs << " ms\n";
  EXPECT_FALSE(player.playing());
  EXPECT_EQ(Notice::None, window.wait(player, 1000));
  // The next sound, perhaps on the same device id, ends as its own.
  ASSERT_TRUE(player.play(dir.fileString("one.wav")));
  EXPECT_EQ(Notice::Ended, window.wait(player, 10000));
}

}  // namespace
