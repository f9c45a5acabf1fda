// The ringing's effects: the dialog comes back, then each chosen notification
// starts here and tells the alarm of its end as a message, never by waiting.
#include <windows.h>

#include "app/app_window_win.h"
#include "app/presence_rules.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/sound_player_win.h"
#include "resources/resource.h"
#include "ui/inactive_windows.h"

using Ostra::String;

namespace {

constexpr int kBeepFrequency = 886;
constexpr int kBeepMilliseconds = 1000;

}  // namespace

RingSettings CAppWindow::ringSettings() {
  RingSettings s;
  s.beep = isChecked(IDC_BEEP);
  s.sound = isChecked(IDC_SOUND_ON);
  s.soundFile = text(IDC_SOUND_FILE);
  s.program = isChecked(IDC_PROGRAM_ON);
  s.programFile = text(IDC_PROGRAM_FILE);
  s.programArguments = text(IDC_PROGRAM_ARGUMENTS);
  s.message = isChecked(IDC_MESSAGE_ON);
  s.messageText = text(IDC_MESSAGE_TEXT);
  s.closeAtEnd = isChecked(IDC_CLOSE_AT_END);
  return s;
}

int64_t CAppWindow::inputIdleMilliseconds() {
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  // Unknown: nobody is typing.
  if (GetLastInputInfo(&input) == FALSE) return INT32_MAX;
  return millisecondsSinceInput(GetTickCount(), input.dwTime);
}

void CAppWindow::comeToFront(bool takeKeyboard) {
  // Keys typed for another program would answer the alarm unseen (a Space on
  // OK, or on 中断 while the sound plays): then it waits to be come to.
  if (takeKeyboard) {
    view.place(Placement::Shown);
    // The system may refuse the foreground (another program holds the lock, or hangs):
    // then the taskbar button asks for attention instead.
    if (!window->forceForeground()) window->flashUntilActive();
    seenAfterAll();  // in front now, an earlier alarm's wait is over too
    return;
  }
  waitingToBeSeen = true;
  view.place(Placement::Shown, false);
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

void CAppWindow::startBeep() {
  const bool started = sound.beep ? sound.beep() : player && player->playTone(kBeepFrequency, kBeepMilliseconds);
  // Sent from inside the alarm's call, it waits for the alarm's turn.
  if (!started) alarm.on(Alarm::StepFailed{RingStep::Beep});
}

void CAppWindow::stopBeep() {
  if (sound.beep) {
    if (sound.stopSound) sound.stopSound();
  } else if (player) {
    player->stop();
  }
}

void CAppWindow::playSound(const String& file) {
  // %windir% and friends expanded; a relative name is beside the program.
  const String path = Ostra::resolveFromExecutable(file);
  // No box for a sound that fails: the beep stands in for it.
  const bool started = sound.playSound ? sound.playSound(path) : player && player->play(path);
  if (!started) alarm.on(Alarm::StepFailed{RingStep::Sound});
}

void CAppWindow::stopSound() {
  if (sound.playSound) {
    if (sound.stopSound) sound.stopSound();
  } else if (player) {
    player->stop();
  }
}

void CAppWindow::soundEnded(RingStep step, bool played) {
  if (step != RingStep::Beep && step != RingStep::Sound) return;
  if (played) {
    alarm.on(Alarm::StepEnded{step});
  } else {
    alarm.on(Alarm::StepFailed{step});
  }
}

void CAppWindow::launch(const String& file, const String& arguments) {
  const String program = programToLaunch(file);
  bool launched;
  {
    // The program starts in its own folder when the path names one absolutely;
    // ours is put back afterwards, also when the launch throws.
    Ostra::CurrentDirectoryScope keep;
    const String folder = Ostra::directoryPart(program);
    if (!folder.empty() && !Ostra::isRelative(folder)) {
      Ostra::setCurrentDirectory(Ostra::stripTrailingSeparator(folder));
    }
    enterComApartment();
    launched = arguments.empty() ? Ostra::shellOpen(program, SW_SHOWNORMAL)
                                 : Ostra::shellOpen(program, arguments, SW_SHOWNORMAL);
  }
  if (launched) {
    alarm.on(Alarm::StepEnded{RingStep::Launch});
  } else {
    alarm.on(Alarm::StepFailed{RingStep::Launch});
  }
}

void CAppWindow::enterComApartment() {
  if (!comApartment) comApartment.emplace();
}

void CAppWindow::showLaunchFailure(const String& programFile) {
  boxText = programToLaunch(programFile) + u" を起動できませんでした";
  // A box's own message loop must not run inside the alarm's call.
  PostMessageW(window->handle(), RingingBoxMessage, static_cast<WPARAM>(RingStep::LaunchFailureBox), 0);
}

void CAppWindow::showMessage(const String& text) {
  boxText = text;
  PostMessageW(window->handle(), RingingBoxMessage, static_cast<WPARAM>(RingStep::Message), 0);
}

void CAppWindow::showRingingBox(RingStep step) {
  // The ringing may have ended meanwhile (the dialog closing).
  if (alarm.state() != CountdownState::Ringing || alarm.step() != step) return;
  const String caption = step == RingStep::Message ? u"メッセージ" : u"エラー";
  if (!waitingToBeSeen) {
    window->messageBox(InformationBox, caption, boxText);
  } else {
    // Up behind the program in use, which keeps the keyboard; it takes the
    // keyboard only when the dialog could.
    const Ostra::CInactiveWindows inactive;
    window->messageBox(InformationBox & ~MB_SETFOREGROUND, caption, boxText);
  }
  alarm.on(Alarm::StepEnded{step});
}
