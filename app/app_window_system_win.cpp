// What keeps a countdown on time when the computer sleeps, the clock is set
// or the program is held up, and what shows it on the taskbar.
#include "app/app_window_win.h"
#include "app/presence_rules.h"

void CAppWindow::createSystemAids(HWND dialog) {
  wakeTimer = std::make_unique<CWakeTimer>(dialog, WakeMessage);
  taskbarProgress = std::make_unique<CTaskbarProgress>(dialog);
}

void CAppWindow::releaseSystemAids() {
  releaseCountdownAids();
  if (taskbarProgress) taskbarProgress->clear();
  wakeTimer.reset();
  taskbarProgress.reset();
}

bool CAppWindow::onSystemMessage(Ostra::WindowMessage& m) {
  switch (m.message) {
    case WakeMessage:
      recheckDeadline();
      return true;
    case WM_POWERBROADCAST:
      // Window timers come late after a resume, and the deadline may have passed
      // in sleep.  Posted: the expiry must not run inside the system's broadcast.
      if (m.wParam == PBT_APMRESUMEAUTOMATIC) PostMessageW(m.hwnd, WakeMessage, 0, 0);
      // The timer wakes the computer by itself; its message is wanted from now.
      if (m.wParam == PBT_APMSUSPEND && wakeTimer && countdownState == CountdownState::Running) wakeTimer->watch();
      keepAwakeAcross(m.wParam);
      return false;
    case WM_TIMECHANGE:
      if (countdownState == CountdownState::Running) {
        countdown.wallClockSet(clock.monotonicMilliseconds(), clock.wallMilliseconds());
        armWake();  // a duration's due time on the UTC clock has moved with it
        PostMessageW(m.hwnd, WakeMessage, 0, 0);
      }
      return false;
    case WM_DPICHANGED:  // Windows 8.1 and later: the sizes of the icons changed
      setStageIcon(stageIcon);
      return false;
    default:
      break;
  }
  if (!taskbarProgress || !taskbarProgress->handleButtonCreated(m)) return false;
  showProgress();
  return true;
}

void CAppWindow::holdCountdownAids() {
  keepAwake.hold();
  armWake();
}

void CAppWindow::releaseCountdownAids() {
  keepAwake.release();
  if (wakeTimer) wakeTimer->disarm();
}

void CAppWindow::keepAwakeAcross(WPARAM powerEvent) {
  PowerChange change;
  switch (powerEvent) {
    case PBT_APMSUSPEND:
      change = PowerChange::Suspend;
      break;
    case PBT_APMRESUMESUSPEND:
      change = PowerChange::ResumeByPerson;
      break;
    case PBT_APMRESUMEAUTOMATIC:
      change = PowerChange::ResumeAutomatic;
      break;
    default:
      return;
  }
  const AwakePhase phase = countdownState == CountdownState::Running   ? AwakePhase::Running
                           : countdownState == CountdownState::Ringing ? AwakePhase::Ringing
                                                                       : AwakePhase::Other;
  const int64_t left = phase == AwakePhase::Running ? countdown.leftMilliseconds(clock.monotonicMilliseconds()) : 0;
  switch (awakeHoldAfter(change, phase, left)) {
    case AwakeHold::None:
      keepAwake.release();
      break;
    case AwakeHold::System:
      keepAwake.hold();
      break;
    case AwakeHold::SystemAndDisplay:
      keepAwake.holdDisplay();
      break;
  }
}

void CAppWindow::recheckDeadline() {
  // Not once the expiry has begun: a wake posted just before it would otherwise
  // run the expiry again from inside the message box's loop.
  if (countdownState != CountdownState::Running) return;
  tickPeriodMs = 0;  // off the running timer's beat: aim it anew
  tick();
}

void CAppWindow::armWake() {
  if (!wakeTimer || countdownState != CountdownState::Running) return;
  wakeTimer->arm(countdown.leftMilliseconds(clock.monotonicMilliseconds()));
}

void CAppWindow::showProgress() {
  if (!taskbarProgress) return;
  if (!counting()) {
    taskbarProgress->clear();
    return;
  }
  taskbarProgress->show(countdown.progressPermille(clock.monotonicMilliseconds()),
                        countdownState == CountdownState::Paused);
}
