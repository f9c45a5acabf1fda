// windows.h must come before mmsystem.h.
#include "base/sound_player_win.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/file_open.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

const SystemFunction<decltype(waveOutOpen)> waveOutOpen_{winmmLibrary, "waveOutOpen", MMSYSERR_NODRIVER};
const SystemFunction<decltype(waveOutPrepareHeader)> waveOutPrepareHeader_{winmmLibrary, "waveOutPrepareHeader",
                                                                           MMSYSERR_NODRIVER};
const SystemFunction<decltype(waveOutWrite)> waveOutWrite_{winmmLibrary, "waveOutWrite", MMSYSERR_NODRIVER};
const SystemFunction<decltype(waveOutReset)> waveOutReset_{winmmLibrary, "waveOutReset", MMSYSERR_NODRIVER};
const SystemFunction<decltype(waveOutUnprepareHeader)> waveOutUnprepareHeader_{winmmLibrary, "waveOutUnprepareHeader",
                                                                               MMSYSERR_NODRIVER};
const SystemFunction<decltype(waveOutClose)> waveOutClose_{winmmLibrary, "waveOutClose", MMSYSERR_NODRIVER};
const SystemFunction<decltype(mciSendCommandW)> mciSendCommand_{winmmLibrary, "mciSendCommandW",
                                                                MCIERR_DEVICE_NOT_READY};

// A longer path would reach the file system shortened in the ANSI form, and
// only on some systems in the wide one: refused in both.
constexpr size_t kMaxPathUnits = MAX_PATH - 1;
// Larger format records belong to no format the wave mapper plays.
constexpr uint32_t kMaxFormatBytes = 4096;
constexpr int kToneRate = 22050;

uint32_t little(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The file as the call form in use can name it exactly; null otherwise.
FILE* openExactly(const String& path) {
  if (path.empty()) return nullptr;
  if (useWideCalls()) {
    if (static_cast<size_t>(path.length()) > kMaxPathUnits) return nullptr;
  } else {
    // A character the code page lacks becomes another one, which may name
    // another file that exists: only a path that comes back whole is used.
    Encoding& encoding = defaultEncoding();
    const std::string narrow = encoding.encode(path);
    if (narrow.size() > kMaxPathUnits || encoding.decode(narrow) != path) return nullptr;
  }
  return openSharedStream(path, u"rb");
}

// Reads the RIFF chunks up to the "data" chunk, leaving the file at its first
// byte: the format record (at least a whole WAVEFORMATEX) and the data's size.
bool readWaveHeader(FILE* file, std::vector<char>& format, uint32_t& dataBytes) {
  unsigned char riff[12];
  if (std::fread(riff, 1, sizeof riff, file) != sizeof riff) return false;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return false;
  format.clear();
  for (;;) {
    unsigned char chunk[8];
    if (std::fread(chunk, 1, sizeof chunk, file) != sizeof chunk) return false;
    const uint32_t size = little(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      dataBytes = size;
      return !format.empty();
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || size > kMaxFormatBytes) return false;
      format.assign(std::max<size_t>(size, sizeof(WAVEFORMATEX)), 0);
      if (std::fread(format.data(), 1, size, file) != size) return false;
      // cbSize, where the record has one, must not reach past it.
      WAVEFORMATEX fields;
      std::memcpy(&fields, format.data(), sizeof fields);
      fields.cbSize =
          size < sizeof(WAVEFORMATEX)
              ? 0
              : static_cast<WORD>(std::min<uint32_t>(fields.cbSize, size - static_cast<uint32_t>(sizeof fields)));
      if (fields.nBlockAlign == 0 || fields.nAvgBytesPerSec == 0) return false;
      std::memcpy(format.data(), &fields, sizeof fields);
      if ((size & 1) != 0 && std::fseek(file, 1, SEEK_CUR) != 0) return false;
      continue;
    }
    // Chunks are word-aligned; one that claims to reach past 2 GiB ends the file.
    const uint64_t skip = static_cast<uint64_t>(size) + (size & 1);
    if (skip > LONG_MAX || std::fseek(file, static_cast<long>(skip), SEEK_CUR) != 0) return false;
  }
}

}  // namespace

bool CSoundPlayer::play(const String& path) {
  stop();
  file_.reset(openExactly(path));
  if (!file_) return false;
  std::vector<char> format;
  if (!readWaveHeader(file_.get(), format, fileLeft_)) {
    // Not a WAV: MP3, WMA and the like go to the media device, where Windows
    // has a decoder for them.
    stop();
    return playMedia(path);
  }
  if (fileLeft_ == 0 || !start(format)) {
    stop();
    return false;
  }
  return true;
}

bool CSoundPlayer::playMedia(const String& path) {
  // Through the wide call only: the path goes whole or not at all.
  if (!useWideCalls()) return false;
  MCI_OPEN_PARMSW open{};
  open.lpstrDeviceType = L"mpegvideo";
  open.lpstrElementName = reinterpret_cast<const wchar_t*>(path.c_str());
  if (mciSendCommand_(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)) !=
      0) {
    return false;
  }
  media_ = open.wDeviceID;
  // Its end comes to the window as MM_MCINOTIFY.
  MCI_PLAY_PARMS play{};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(notify_);
  if (mciSendCommand_(media_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) != 0) {
    stop();
    return false;
  }
  return true;
}

CSoundPlayer::Notice CSoundPlayer::onMediaNotify(WPARAM flags, LPARAM device) {
  // A device already closed (a stopped sound) has nothing more to say.
  if (media_ == 0 || static_cast<MCIDEVICEID>(device) != media_) return Notice::None;
  if (flags != MCI_NOTIFY_SUCCESSFUL && flags != MCI_NOTIFY_FAILURE) return Notice::None;
  stop();
  return flags == MCI_NOTIFY_SUCCESSFUL ? Notice::Ended : Notice::Failed;
}

bool CSoundPlayer::playTone(int frequency, int milliseconds) {
  stop();
  if (frequency <= 0 || milliseconds <= 0) return false;
  toneFrequency_ = frequency;
  toneLeft_ = static_cast<uint32_t>(static_cast<int64_t>(kToneRate) * milliseconds / 1000);
  toneAt_ = 0;
  WAVEFORMATEX fields{};
  fields.wFormatTag = WAVE_FORMAT_PCM;
  fields.nChannels = 1;
  fields.nSamplesPerSec = kToneRate;
  fields.wBitsPerSample = 16;
  fields.nBlockAlign = 2;
  fields.nAvgBytesPerSec = kToneRate * 2;
  std::vector<char> format(sizeof fields);
  std::memcpy(format.data(), &fields, sizeof fields);
  if (!start(format)) {
    stop();
    return false;
  }
  return true;
}

bool CSoundPlayer::start(const std::vector<char>& format) {
  WAVEFORMATEX fields;
  std::memcpy(&fields, format.data(), sizeof fields);
  // A quarter of a second per buffer, in whole blocks: a refill on the
  // dialog's thread is small, and two of them never run dry.
  const size_t block = fields.nBlockAlign;
  const size_t quarter = std::min<size_t>(fields.nAvgBytesPerSec / 4, 1 << 20);
  const size_t bytes = std::max(block, quarter / block * block);
  HWAVEOUT device = nullptr;
  if (waveOutOpen_(&device, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(format.data()),
                   reinterpret_cast<DWORD_PTR>(notify_), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    return false;
  }
  device_ = device;
  failed_ = false;
  for (Buffer& buffer : buffers_) {
    buffer.bytes.assign(bytes, 0);
    buffer.header = WAVEHDR{};
    buffer.header.lpData = buffer.bytes.data();
    buffer.header.dwBufferLength = static_cast<DWORD>(bytes);
    if (waveOutPrepareHeader_(device_, &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) return false;
  }
  // At least the first buffer must go: otherwise no end would ever be told.
  if (!queue(buffers_[0])) return false;
  queue(buffers_[1]);
  return true;
}

bool CSoundPlayer::queue(Buffer& buffer) {
  const size_t got = read(buffer.bytes.data(), buffer.bytes.size());
  if (got == 0) return false;
  buffer.header.dwBufferLength = static_cast<DWORD>(got);
  if (waveOutWrite_(device_, &buffer.header, sizeof buffer.header) != MMSYSERR_NOERROR) {
    failed_ = true;
    return false;
  }
  buffer.queued = true;
  return true;
}

size_t CSoundPlayer::read(char* into, size_t bytes) {
  if (file_) {
    const size_t wanted = std::min<size_t>(bytes, fileLeft_);
    const size_t got = std::fread(into, 1, wanted, file_.get());
    // A file shorter than its data chunk says ends where it ends.
    fileLeft_ = got < wanted ? 0 : fileLeft_ - static_cast<uint32_t>(got);
    return got;
  }
  const uint32_t samples = std::min<uint32_t>(static_cast<uint32_t>(bytes / 2), toneLeft_);
  for (uint32_t i = 0; i < samples; ++i, ++toneAt_) {
    const double phase = 2 * 3.141592653589793 * toneFrequency_ * toneAt_ / kToneRate;
    const auto sample = static_cast<int16_t>(std::lround(12000 * std::sin(phase)));
    std::memcpy(into + 2 * i, &sample, 2);
  }
  toneLeft_ -= samples;
  return samples * 2;
}

void CSoundPlayer::stop() {
  if (media_ != 0) {
    mciSendCommand_(media_, MCI_CLOSE, MCI_WAIT, 0);
    media_ = 0;
  }
  if (device_ != nullptr) {
    // Returns every queued buffer at once; the MM_WOM_DONE messages it posts
    // find the player stopped.
    waveOutReset_(device_);
    for (Buffer& buffer : buffers_) {
      if ((buffer.header.dwFlags & WHDR_PREPARED) != 0) {
        waveOutUnprepareHeader_(device_, &buffer.header, sizeof buffer.header);
      }
      buffer.queued = false;
    }
    waveOutClose_(device_);
    device_ = nullptr;
  }
  file_.reset();
  fileLeft_ = 0;
  toneLeft_ = 0;
}

CSoundPlayer::Notice CSoundPlayer::onDone(WPARAM device, LPARAM header) {
  if (device_ == nullptr || reinterpret_cast<HWAVEOUT>(device) != device_) return Notice::None;
  // Only a buffer of ours that is queued and done: a late message of a sound
  // stopped before this one, on a device handle used again, is neither.
  Buffer* done = nullptr;
  for (Buffer& buffer : buffers_) {
    if (reinterpret_cast<LPARAM>(&buffer.header) == header && buffer.queued &&
        (buffer.header.dwFlags & WHDR_DONE) != 0) {
      done = &buffer;
    }
  }
  if (done == nullptr) return Notice::None;
  done->queued = false;
  if (!failed_) queue(*done);
  for (const Buffer& buffer : buffers_) {
    if (buffer.queued) return Notice::None;
  }
  const bool failed = failed_;
  stop();
  return failed ? Notice::Failed : Notice::Ended;
}

}  // namespace Ostra
