// windows.h must come before mmsystem.h.
#include "app/ringing_win.h"

#include "app/failure_messages.h"
#include "app/information_box_win.h"
#include "app/notification_files.h"
#include "app/presence_rules.h"
#include "app/settings.h"
#include "app/snooze_box_win.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/sound_player_win.h"
#include "resources/resource.h"
#include "ui/inactive_windows.h"
#include "ui/wnd.h"

using Ostra::String;

namespace {

constexpr int kBeepFrequency = 886;
constexpr int kBeepMilliseconds = 1000;

}  // namespace

CRinging::CRinging(Ostra::CWindow& window, CCountdownView& view, Alarm& alarm, SoundDevice sound,
                   const bool& alwaysOnTop, int64_t (*now)())
    : window_(window), view_(view), alarm_(alarm), sound_(sound), alwaysOnTop_(alwaysOnTop), now_(now) {}

CRinging::~CRinging() = default;

void CRinging::create(HWND dialog) { player_ = std::make_unique<Ostra::CSoundPlayer>(dialog); }

void CRinging::destroy() {
  player_.reset();
  com_.reset();
}

bool CRinging::onMessage(const Ostra::WindowMessage& m) {
  switch (m.message) {
    case MM_WOM_DONE:
    case MM_MCINOTIFY:
      if (!player_) return false;
      switch (m.message == MM_WOM_DONE ? player_->onDone(m.wParam, m.lParam)
                                       : player_->onMediaNotify(m.wParam, m.lParam)) {
        case Ostra::CSoundPlayer::Notice::Ended:
          soundEnded(alarm_.step(), true);
          break;
        case Ostra::CSoundPlayer::Notice::Failed:
          soundEnded(alarm_.step(), false);
          break;
        case Ostra::CSoundPlayer::Notice::None:
          break;
      }
      return true;
    case SoundEndMessage:
      soundEnded(static_cast<RingStep>(m.wParam), m.lParam != 0);
      return true;
    case BoxMessage:
      showPostedBox(static_cast<RingStep>(m.wParam));
      return true;
    case WM_ACTIVATEAPP:  // to every window of the program, the box's owner too
      if (m.wParam != FALSE) seenAfterAll();
      return false;
    case WM_ACTIVATE:  // also back from its box, which the program had in front
      if (LOWORD(m.wParam) != WA_INACTIVE) seenAfterAll();
      return false;
    default:
      return false;
  }
}

int64_t CRinging::inputIdleMilliseconds() {
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  // Unknown: nobody is typing.
  if (GetLastInputInfo(&input) == FALSE) return INT32_MAX;
  return millisecondsSinceInput(GetTickCount(), input.dwTime);
}

void CRinging::comeToFront(bool takeKeyboard) {
  // Keys typed for another program would answer the alarm unseen (a Space on
  // OK, or on 中断 while the sound plays): then it waits to be come to.
  if (takeKeyboard) {
    view_.place(Placement::Shown);
    // The system may refuse the foreground (another program holds the lock, or hangs):
    // then the taskbar button asks for attention instead.
    if (!window_.forceForeground()) window_.flashUntilActive();
    seenAfterAll();  // in front now, an earlier alarm's wait is over too
    return;
  }
  waitingToBeSeen_ = true;
  view_.place(Placement::Shown, false);
  SetWindowPos(window_.handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  window_.flashUntilActive();
}

void CRinging::seenAfterAll() {
  if (!waitingToBeSeen_) return;
  // Activated, in its own thread only, without the foreground: still unseen.
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr || GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) return;
  waitingToBeSeen_ = false;
  window_.stopFlashing();
  if (!alwaysOnTop_) {
    SetWindowPos(window_.handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void CRinging::startBeep() {
  const bool started = sound_.beep ? sound_.beep() : player_ && player_->playTone(kBeepFrequency, kBeepMilliseconds);
  // Sent from inside the alarm's call, it waits for the alarm's turn.
  if (!started) alarm_.on(Alarm::StepFailed{RingStep::Beep, now_()});
}

void CRinging::stopBeep() { stopPlaying(sound_.beep != nullptr); }

void CRinging::playSound(const String& file) {
  // %windir% and friends expanded; a relative name is beside the program.
  const String path = soundToPlay(file);
  // No box for a sound that fails: the beep stands in for it.
  const bool started = sound_.playSound ? sound_.playSound(path) : player_ && player_->play(path);
  if (!started) alarm_.on(Alarm::StepFailed{RingStep::Sound, now_()});
}

void CRinging::stopSound() { stopPlaying(sound_.playSound != nullptr); }

void CRinging::stopPlaying(bool standIn) {
  // What a stand-in started, only the stand-in can stop.
  if (standIn) {
    if (sound_.stopSound) sound_.stopSound();
  } else if (player_) {
    player_->stop();
  }
}

void CRinging::soundEnded(RingStep step, bool played) {
  if (step != RingStep::Beep && step != RingStep::Sound) return;
  if (played) {
    alarm_.on(Alarm::StepEnded{step, now_()});
  } else {
    alarm_.on(Alarm::StepFailed{step, now_()});
  }
}

void CRinging::launch(const String& file, const String& arguments) {
  const String named = Ostra::resolvePath(file, String());
  // The file the question showed: the shell gets it with its folder, so it finds no other.
  const String program = programToLaunch(file);
  bool launched;
  {
    // The program starts in its own folder when the name gives one absolutely;
    // ours is put back afterwards, also when the launch throws.
    Ostra::CurrentDirectoryScope keep;
    const String folder = Ostra::directoryPart(named);
    if (!folder.empty() && !Ostra::isRelative(folder)) {
      Ostra::setCurrentDirectory(Ostra::stripTrailingSeparator(folder));
    }
    if (!com_) com_.emplace();
    launched = arguments.empty() ? Ostra::shellOpen(program, SW_SHOWNORMAL)
                                 : Ostra::shellOpen(program, arguments, SW_SHOWNORMAL);
  }
  if (launched) {
    alarm_.on(Alarm::StepEnded{RingStep::Launch, now_()});
  } else {
    alarm_.on(Alarm::StepFailed{RingStep::Launch, now_()});
  }
}

void CRinging::showBox(RingStep step, const String& text) {
  boxText_ = step == RingStep::Message ? text : launchFailedMessage(programToLaunch(text));
  // A box's own message loop must not run inside the alarm's call.  A queue
  // too full to take the message must not hold the ringing at this step.
  if (!PostMessageW(window_.handle(), BoxMessage, static_cast<WPARAM>(step), 0))
    alarm_.on(Alarm::StepFailed{step, now_()});
}

bool CRinging::pressSnooze() { return snoozeBox_ != nullptr && pressSnoozeButton(snoozeBox_); }

void CRinging::showPostedBox(RingStep step) {
  // The ringing may have ended meanwhile (the dialog closing).
  if (alarm_.state() != CountdownState::Ringing || alarm_.step() != step) return;
  const String caption = step == RingStep::Message ? u"メッセージ" : u"エラー";
  const int snoozeMinutes = step == RingStep::Message ? alarm_.snoozeMinutes() : 0;
  if (snoozeMinutes > 0) {
    SnoozeAnswer answer;
    if (!waitingToBeSeen_) {
      answer = showSnoozeBox(window_.handle(), boxText_, snoozeMinutes, &snoozeBox_);
    } else {
      const Ostra::CInactiveWindows inactive;
      answer = showSnoozeBox(window_.handle(), boxText_, snoozeMinutes, &snoozeBox_);
    }
    if (answer == SnoozeAnswer::Snooze) {
      // As the menus' snooze, which reads the clock.
      SendMessageW(window_.handle(), WM_SYSCOMMAND, IDM_SNOOZE, 0);
      return;
    }
    if (answer == SnoozeAnswer::Ok) {
      alarm_.on(Alarm::StepEnded{step, now_()});
      return;
    }
  }
  if (!waitingToBeSeen_) {
    window_.messageBox(kInformationBox, caption, boxText_);
  } else {
    // Up behind the program in use, which keeps the keyboard.
    const Ostra::CInactiveWindows inactive;
    window_.messageBox(kInformationBox & ~MB_SETFOREGROUND, caption, boxText_);
  }
  alarm_.on(Alarm::StepEnded{step, now_()});
}
