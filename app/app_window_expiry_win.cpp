// The expiry sequence: the dialog comes back, then each chosen notification
// in a fixed order, then the dialog returns to idle and closes if asked to.
#include <windows.h>

#include <thread>
#include <utility>

#include "app/app_window_win.h"
#include "app/failure_messages.h"
#include "app/notification_files.h"
#include "app/presence_rules.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/sound_win.h"
#include "base/unique_handle_win.h"
#include "resources/resource.h"
#include "ui/inactive_windows.h"

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
  comeBack();

  // The controls as they are now: changes made during the countdown count.
  const bool beeped = isChecked(IDC_BEEP);
  if (beeped) beep();
  const bool played = !isChecked(IDC_SOUND_ON) || playSound();
  // Stopped during the sound: Cancel has made the dialog idle, or it is closing.
  if (std::exchange(soundState, SoundState::Silent) == SoundState::Stopped) return;
  // Who asked for a sound gets one: a file that would not play is replaced by the beep.
  if (!played && !beeped) beep();
  if (isChecked(IDC_PROGRAM_ON)) launchProgram();
  if (isChecked(IDC_MESSAGE_ON)) showMessage();

  enterCountdownState(CountdownState::Idle);
  if (isChecked(IDC_CLOSE_AT_END)) window->close();
}

void CAppWindow::comeBack() {
  // Keys typed for another program would answer the alarm unseen (a Space on
  // OK, or on 中断 while the sound plays): then it waits to be come to.
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  if (GetLastInputInfo(&input) == FALSE || !personIsTyping(GetTickCount(), input.dwTime)) {
    place(Placement::Shown);
    // The system may refuse the foreground (another program holds the lock, or hangs):
    // then the taskbar button asks for attention instead.
    if (!window->forceForeground()) window->flashUntilActive();
    seenAfterAll();  // in front now, an earlier alarm's wait is over too
    return;
  }
  waitingToBeSeen = true;
  place(Placement::Shown, false);
  SetWindowPos(window->handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  window->flashUntilActive();
}

void CAppWindow::seenAfterAll() {
  if (!waitingToBeSeen) return;
  // Activated, in its own thread only, without the foreground: still unseen.
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) return;
  waitingToBeSeen = false;
  window->stopFlashing();
  if (!alwaysOnTop) {
    SetWindowPos(window->handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void CAppWindow::ringingBox(const String& caption, const String& text) {
  if (!waitingToBeSeen) {
    window->messageBox(InformationBox, caption, text);
    return;
  }
  // Up behind the program in use, which keeps the keyboard.
  const Ostra::CInactiveWindows inactive;
  window->messageBox(InformationBox & ~MB_SETFOREGROUND, caption, text);
}

void CAppWindow::beep() {
  if (sound.beep) {
    sound.beep();
    return;
  }
  Beep(kBeepFrequency, kBeepMilliseconds);
}

bool CAppWindow::playSound() {
  // %windir% and friends expanded; a relative name is beside the program.
  const String path = soundToPlay(text(IDC_SOUND_FILE));
  bool (*const play)(const String&) = sound.playSound ? sound.playSound : Ostra::playSoundFile;
  // A sound of minutes would hang the dialog ("応答なし") with no way to stop
  // it: it plays on a thread of its own while this one answers the dialog.
  const Ostra::UniqueKernelHandle finished(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!finished) return play(path);
  const HANDLE done = finished.get();
  bool played = false;
  std::thread player([play, path, done, &played]() noexcept {
    // No box for a sound that fails: the beep stands in for it.
    try {
      played = play(path);
    } catch (...) {
    }
    SetEvent(done);
  });
  soundState = SoundState::Playing;
  answerUntil(done);
  // At its end, or stopped: the player returns at once either way.
  player.join();
  return played;
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
  if (!launched) ringingBox(u"エラー", launchFailedMessage(file));
}

void CAppWindow::enterComApartment() {
  if (!comApartment) comApartment.emplace();
}

void CAppWindow::showMessage() { ringingBox(u"メッセージ", text(IDC_MESSAGE_TEXT)); }
