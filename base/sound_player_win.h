#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/string.h"

namespace Ostra {

// Plays one sound at a time through the wave mapper (waveOut), for the thread
// that owns `notify`: play returns as soon as the sound begins, its buffers
// come back to that window as MM_WOM_DONE (onDone refills them from the file,
// a quarter of a second at a time), and stop silences it at once.  No thread
// of ours waits on the sound.
class CSoundPlayer {
 public:
  // What an MM_WOM_DONE means for this player.
  enum class Notice { None, Ended, Failed };

  explicit CSoundPlayer(HWND notify) : notify_(notify) {}
  CSoundPlayer(const CSoundPlayer&) = delete;
  CSoundPlayer& operator=(const CSoundPlayer&) = delete;
  ~CSoundPlayer() { stop(); }

  // Starts the sound file, stopping any sound of ours first: a WAV through
  // waveOut, any other file through MCI where Windows can decode it.  False
  // when it cannot be played: missing, undecodable, no device for its format, or a path
  // that the call form in use cannot carry whole (MAX_PATH or longer, or a
  // character the ANSI code page lacks), which is refused rather than
  // shortened or approximated into another file's name.
  bool play(const String& path);
  // A sine tone of the frequency for the milliseconds, ending as a file does.
  bool playTone(int frequency, int milliseconds);
  // Silences the sound and closes the device; no end is told for it.
  void stop();
  bool playing() const { return device_ != nullptr || media_ != 0; }

  // For the window's MM_WOM_DONE: Ended when the sound has played to its end,
  // Failed when the device refused the rest; None while it plays on, and for a
  // buffer of a sound already stopped.
  Notice onDone(WPARAM device, LPARAM header);
  // The same for MM_MCINOTIFY, the end of a sound other than WAV.
  Notice onMediaNotify(WPARAM flags, LPARAM device);

 private:
  struct Buffer {
    WAVEHDR header{};
    std::vector<char> bytes;
    bool queued = false;
  };
  struct CloseFile {
    void operator()(FILE* file) const { std::fclose(file); }
  };

  // A file that is not a WAV, through MCI's mpegvideo device (MP3, WMA).
  bool playMedia(const String& path);
  // Opens the device for the format and queues the first buffers.
  bool start(const std::vector<char>& format);
  // Fills the buffer with the next bytes and hands it to the device; false
  // when none are left or the device refuses it.
  bool queue(Buffer& buffer);
  size_t read(char* into, size_t bytes);

  HWND notify_;
  HWAVEOUT device_ = nullptr;
  MCIDEVICEID media_ = 0;
  Buffer buffers_[2];
  bool failed_ = false;
  // The sound's bytes: the rest of the file's data chunk, or a tone made as
  // it is read.
  std::unique_ptr<FILE, CloseFile> file_;
  uint32_t fileLeft_ = 0;
  int toneFrequency_ = 0;
  uint32_t toneLeft_ = 0;  // samples
  uint32_t toneAt_ = 0;
};

}  // namespace Ostra
