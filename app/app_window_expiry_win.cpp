// The expiry sequence: the dialog comes back, then each chosen notification
// in a fixed order, then the dialog returns to idle and closes if asked to.
#include <windows.h>

#include <thread>
#include <utility>

#include "app/app_window_win.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/sound_win.h"
#include "base/unique_handle_win.h"
#include "resources/resource.h"

using Ostra::String;

namespace {

constexpr DWORD kBeepFrequency = 886;
constexpr DWORD kBeepMilliseconds = 1000;

// Lets the system sleep again when the notifications are over, also when one fails.
class ReleaseAtEnd {
 public:
  explicit ReleaseAtEnd(CKeepAwake& keepAwake) : keepAwake_(keepAwake) {}
  ~ReleaseAtEnd() { keepAwake_.release(); }
  ReleaseAtEnd(const ReleaseAtEnd&) = delete;
  ReleaseAtEnd& operator=(const ReleaseAtEnd&) = delete;

 private:
  CKeepAwake& keepAwake_;
};

}  // namespace

void CAppWindow::expire() {
  // A menu left open would choose among commands that no longer apply.
  EndMenu();
  // Ringing holds the computer and the display awake; released at the end, also when a notification fails.
  enterCountdownState(CountdownState::Ringing);
  const ReleaseAtEnd release(keepAwake);
  setStageIcon(IDI_IDLE);
  place(Placement::Shown);
  // The system may refuse the foreground (another program holds the lock, or hangs):
  // then the taskbar button asks for attention instead.
  if (!window->forceForeground()) window->flashUntilActive();

  // The controls as they are now: changes made during the countdown count.
  if (isChecked(IDC_BEEP)) beep();
  if (isChecked(IDC_SOUND_ON)) playSound();
  // Stopped during the sound: Cancel has made the dialog idle, or it is closing.
  if (std::exchange(soundState, SoundState::Silent) == SoundState::Stopped) return;
  if (isChecked(IDC_PROGRAM_ON)) launchProgram();
  if (isChecked(IDC_MESSAGE_ON)) showMessage();

  enterCountdownState(CountdownState::Idle);
  if (isChecked(IDC_CLOSE_AT_END)) window->close();
}

void CAppWindow::beep() {
  if (sound.beep) {
    sound.beep();
    return;
  }
  Beep(kBeepFrequency, kBeepMilliseconds);
}

void CAppWindow::playSound() {
  // %windir% and friends expanded; a relative name is beside the program.
  const String path = soundToPlay(text(IDC_SOUND_FILE));
  void (*const play)(const String&) = sound.playSound ? sound.playSound : Ostra::playSoundFile;
  // A sound of minutes would hang the dialog ("応答なし") with no way to stop
  // it: it plays on a thread of its own while this one answers the dialog.
  const Ostra::UniqueKernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!finished) {
    play(path);
    return;
  }
  const HANDLE done = finished.get();
  std::thread player([play, path, done]() noexcept {
    // Like every notification, a sound that fails is not reported.
    try {
      play(path);
    } catch (...) {
    }
    SetEvent(done);
  });
  soundState = SoundState::Playing;
  answerUntil(done);
  // At its end, or stopped: the player returns at once either way.
  player.join();
}

void CAppWindow::answerUntil(HANDLE finished) {
  const HWND dialog = window->handle();
  for (;;) {
    // MWMO_INPUTAVAILABLE: input seen but left in the queue by a nested loop still wakes us.
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1) return;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // For the loop that runs the dialog, which ends on it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        stopSound();
        return;
      }
      // Tab, Space and the Alt+letter keys work as in the dialog's own loop.
      if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      // The dialog has ended (closed, the session's end, a failure) or Cancel
      // stopped the sound: nothing more runs before the expiry has left, not
      // even a Start queued behind the Cancel.
      if (window->handle() == nullptr) stopSound();
      if (soundState == SoundState::Stopped) return;
    }
  }
}

void CAppWindow::stopSound() {
  if (soundState != SoundState::Playing) return;
  soundState = SoundState::Stopped;
  if (sound.stopSound) {
    sound.stopSound();
    return;
  }
  Ostra::stopSound();
}

void CAppWindow::launchProgram() {
  const String named = Ostra::resolvePath(text(IDC_PROGRAM_FILE), String());
  // The file the question showed: the shell gets it with its folder, so it finds no other.
  const String file = programToLaunch(text(IDC_PROGRAM_FILE));
  const String arguments = text(IDC_PROGRAM_ARGUMENTS);
  bool launched;
  {
    // The program starts in its own folder when the name gives one absolutely;
    // ours is put back afterwards, also when the launch throws.
    Ostra::CurrentDirectoryScope keep;
    const String folder = Ostra::directoryPart(named);
    if (!folder.empty() && !Ostra::isRelative(folder)) {
      Ostra::setCurrentDirectory(Ostra::stripTrailingSeparator(folder));
    }
    enterComApartment();
    launched =
        arguments.empty() ? Ostra::shellOpen(file, SW_SHOWNORMAL) : Ostra::shellOpen(file, arguments, SW_SHOWNORMAL);
  }
  // The alarm must not pass unnoticed when the message is off and the window closes.
  if (!launched) window->messageBox(InformationBox, u"エラー", launchFailedMessage(file));
}

void CAppWindow::enterComApartment() {
  if (!comApartment) comApartment.emplace();
}

void CAppWindow::showMessage() { window->messageBox(InformationBox, u"メッセージ", text(IDC_MESSAGE_TEXT)); }
