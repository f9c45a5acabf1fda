#include "app/alarm.h"

void Alarm::on(const Event& event) {
  pending_.push_back(event);
  // An effect that sends an event (a box closed at once, a launch that failed
  // at once) finds the alarm in the middle of another: it waits its turn.
  if (handling_) return;
  handling_ = true;
  try {
    while (!pending_.empty()) {
      const Event next = pending_.front();
      pending_.pop_front();
      std::visit([this](const auto& e) { handle(e); }, next);
    }
  } catch (...) {
    // The window reports the failure; the alarm must still take the next event.
    pending_.clear();
    handling_ = false;
    throw;
  }
  handling_ = false;
}

void Alarm::handle(const Start& e) {
  // Its end would stop the new countdown: one alarm rings at a time.
  if (state_ == CountdownState::Ringing) return;
  timeOfDay_ = e.timeOfDay;
  elapsedShown_ = false;
  snoozing_ = false;
  const int count = calcRemainSeconds(e.hours, e.minutes, e.seconds, e.timeOfDay, e.localNow);
  warnSeconds_ = e.warnMinutes > 0 ? e.warnMinutes * 60 : 0;
  // Tomorrow at the same time is not what a repeat means, nor is ringing
  // again and again at once.
  run_ = RunNumber{1, e.timeOfDay || count <= 0 || e.runs < 0 ? 1 : e.runs};
  runSeconds_ = count;
  if (!e.timeOfDay) {
    startRun(e.nowMs);
    return;
  }
  warnArmed_ = warnSeconds_ > 0 && count > warnSeconds_;
  // A time of day is due on the wall clock's second, not a whole count of
  // seconds from this moment.
  countdown_.start(count, e.nowMs, e.localNow.millisecond);
  countdown_.followWallClock(e.nowMs, e.wallMs);
  enter(CountdownState::Running, e.nowMs);
  showStage(countingIcon());
}

void Alarm::startRun(int64_t nowMs) {
  // A count that starts at or below the mark has nothing to be warned of.
  warnArmed_ = warnSeconds_ > 0 && runSeconds_ > warnSeconds_;
  countdown_.start(runSeconds_, nowMs, 0);
  enter(CountdownState::Running, nowMs);
  showStage(countingIcon());
}

void Alarm::tick(int64_t nowMs, int64_t inputIdleMs, bool offBeat) {
  if (state_ == CountdownState::Ringing && repeat_ == Repeat::Gap) {
    effects_.stopTickTimer();
    tickPeriodMs_ = -1;
    if (nowMs < repeatUntilMs_) {
      playRepeat();
      return;
    }
    // At the limit the sound stops; a box still up stays until closed.
    repeat_ = Repeat::Off;
    if (steps_.empty()) endRinging(nowMs);
    return;
  }
  if (state_ == CountdownState::Idle && elapsedShown_) {
    tickElapsed(nowMs);
    return;
  }
  // A tick posted before the countdown ended or paused has nothing to count.
  if (state_ != CountdownState::Running) return;
  if (countdown_.tick(nowMs)) {
    ring(nowMs, inputIdleMs);
    return;
  }
  if (warnArmed_ && countdown_.remainSeconds() <= warnSeconds_) {
    warnArmed_ = false;
    effects_.warnBefore(warnSeconds_ / 60);
  }
  showTime(nowMs);
  showStage(countingIcon());
  aimTicks(nowMs, offBeat);
}

void Alarm::handle(const Pause& e) {
  if (state_ != CountdownState::Running || !canPause()) return;
  countdown_.pause(e.nowMs);
  enter(CountdownState::Paused, e.nowMs);
  showStage(countingIcon());
}

void Alarm::handle(const Resume& e) {
  if (state_ != CountdownState::Paused) return;
  countdown_.resume(e.nowMs);
  enter(CountdownState::Running, e.nowMs);
  showStage(countingIcon());
}

void Alarm::handle(const Extend& e) {
  if (!counting()) return;
  countdown_.extend(e.seconds, e.nowMs);
  // Put back above the mark, the count warns again when it falls to it.
  if (warnSeconds_ > 0 && countdown_.remainSeconds() > warnSeconds_) warnArmed_ = true;
  showTime(e.nowMs);
  showStage(countingIcon());
  if (state_ != CountdownState::Running) return;
  effects_.armWakeTimer(countdown_.leftMilliseconds(e.nowMs));
  aimTicks(e.nowMs, true);
}

void Alarm::handle(const Cancel&) {
  if (state_ == CountdownState::Idle) return;
  if (state_ == CountdownState::Ringing) {
    // A box is the person's to close; the dialog is disabled behind it anyway.
    if (!steps_.empty() && (step() == RingStep::Message || step() == RingStep::LaunchFailureBox)) return;
    // Stopped, the ringing ends here: no later notification, no close at end.
    stopStep();
    stopRepeat();
  }
  elapsedShown_ = false;
  snoozing_ = false;
  enter(CountdownState::Idle, 0);
  showStage(IDI_IDLE);
}

void Alarm::handle(const StepEnded& e) {
  if (state_ != CountdownState::Ringing) return;
  if (repeat_ == Repeat::Playing && e.step == repeatStep_) {
    // Again after the gap, on the tick timer, which is idle while ringing.
    repeat_ = Repeat::Gap;
    tickPeriodMs_ = RepeatGapMilliseconds;
    effects_.setTickTimer(RepeatGapMilliseconds);
    return;
  }
  // An end from a step already stopped or passed is no news.
  if (steps_.empty() || steps_.front() != e.step) return;
  // The message read, the sound has done its work.
  if (e.step == RingStep::Message) stopRepeat();
  nextStep(e.nowMs);
}

void Alarm::handle(const StepFailed& e) {
  if (state_ != CountdownState::Ringing) return;
  if (repeat_ == Repeat::Playing && e.step == repeatStep_) {
    // As a sound played once: the beep stands in for a file that cannot play.
    if (e.step == RingStep::Sound) {
      repeatStep_ = RingStep::Beep;
      playRepeat();
      return;
    }
    repeat_ = Repeat::Off;
    if (steps_.empty()) endRinging(e.nowMs);
    return;
  }
  if (steps_.empty() || steps_.front() != e.step) return;
  steps_.pop_front();
  // A chosen sound is never silent: the beep stands in for it, unless it has
  // already sounded.  A launch that failed says so, or the alarm could pass
  // unnoticed with the message off and the dialog closing.
  if (e.step == RingStep::Sound && !ring_.beep) steps_.push_front(RingStep::Beep);
  if (e.step == RingStep::Launch) steps_.push_front(RingStep::LaunchFailureBox);
  startStep(e.nowMs);
}

void Alarm::handle(const Suspend&) {
  // Held through a sleep, the request would keep the computer up after any
  // automatic wake until the deadline; the wake timer wakes it in time.
  if (state_ == CountdownState::Running) {
    requestAwake(AwakeRequest::None);
    effects_.watchWakeTimer();
  } else if (state_ == CountdownState::Ringing) {
    requestAwake(AwakeRequest::None);
  }
}

void Alarm::handle(const Resumed& e) {
  if (state_ == CountdownState::Running) {
    // Woken with nobody there: held only for the wake timer's own wake, so
    // that the alarm rings before the system's unattended sleep.
    if (e.byPerson || countdown_.leftMilliseconds(e.nowMs) <= WakeHoldMilliseconds) {
      requestAwake(AwakeRequest::System);
    }
    // Window timers come late after a wake, and the deadline may have passed.
    if (!e.byPerson) effects_.postRecheck();
  } else if (state_ == CountdownState::Ringing && e.byPerson) {
    requestAwake(AwakeRequest::SystemAndDisplay);
  }
}

void Alarm::handle(const ClockChanged& e) {
  if (state_ != CountdownState::Running) return;
  // A time of day moves with the clock; a duration's due time on the UTC
  // clock, which the wake timer keeps, moves the other way.
  countdown_.wallClockSet(e.nowMs, e.wallMs);
  effects_.armWakeTimer(countdown_.leftMilliseconds(e.nowMs));
  effects_.postRecheck();
}

void Alarm::handle(const Closing&) {
  if (state_ == CountdownState::Ringing) {
    stopStep();
    stopRepeat();
  }
  elapsedShown_ = false;
  snoozing_ = false;
  if (tickPeriodMs_ >= 0) effects_.stopTickTimer();
  tickPeriodMs_ = -1;
  requestAwake(AwakeRequest::None);
  effects_.disarmWakeTimer();
  countdown_.stop();
  run_ = RunNumber{};
  state_ = CountdownState::Idle;
}

void Alarm::handle(const Snooze& e) {
  if (snoozeMinutes() <= 0) return;
  stopStep();
  stopRepeat();
  // From the press, as a countdown of its own: pause, extend and 中断 apply.
  snoozing_ = true;
  timeOfDay_ = false;
  warnArmed_ = false;
  countdown_.start(ring_.snoozeMinutes * 60, e.nowMs, 0);
  enter(CountdownState::Running, e.nowMs);
  showStage(countingIcon());
}

void Alarm::enter(CountdownState next, int64_t nowMs) {
  const CountdownState was = state_;
  state_ = next;
  if (next == CountdownState::Running) {
    requestAwake(AwakeRequest::System);
    effects_.armWakeTimer(countdown_.leftMilliseconds(nowMs));
    aimTicks(nowMs, true);
  } else {
    if (tickPeriodMs_ >= 0) effects_.stopTickTimer();
    tickPeriodMs_ = -1;
    if (was == CountdownState::Running) effects_.disarmWakeTimer();
    // Woken by the wake timer, the display stays dark and the system sleeps
    // again within minutes: both are held until the notifications are over.
    requestAwake(next == CountdownState::Ringing ? AwakeRequest::SystemAndDisplay : AwakeRequest::None);
    if (next == CountdownState::Idle) {
      countdown_.stop();
      run_ = RunNumber{};
    }
  }
  // The controls first: whoever sees the new time finds them in the new state.
  if (was != next) effects_.stateChanged(was, next);
  // The time since the end comes with the first tick, which brings the time.
  if (!elapsedShown_) showTime(nowMs);
}

void Alarm::aimTicks(int64_t nowMs, bool offBeat) {
  // Just past the next whole second of the deadline; a timer already on that
  // beat is left alone, which spares the system a request every second.
  const int period = tickTimerPeriod(countdown_.nextTickDelay(nowMs));
  if (!offBeat && period == tickPeriodMs_) return;
  tickPeriodMs_ = period;
  effects_.setTickTimer(period);
}

void Alarm::showTime(int64_t nowMs) {
  switch (state_) {
    case CountdownState::Idle:
      effects_.showTime(-1, false, -1, run_);
      return;
    case CountdownState::Ringing:
      effects_.showTime(0, false, -1, run_);
      return;
    case CountdownState::Running:
    case CountdownState::Paused:
      effects_.showTime(countdown_.remainSeconds(), state_ == CountdownState::Paused,
                        countdown_.progressPermille(nowMs), run_);
      return;
  }
}

int Alarm::countingIcon() const { return stageIconId(countdown_.remainSeconds(), state_ == CountdownState::Paused); }

void Alarm::showStage(int iconId) {
  if (iconId == stageIcon_) return;
  stageIcon_ = iconId;
  effects_.showStageIcon(iconId);
}

void Alarm::requestAwake(AwakeRequest request) {
  if (request == awake_) return;
  awake_ = request;
  effects_.keepAwake(request);
}

void Alarm::ring(int64_t nowMs, int64_t inputIdleMs) {
  // The controls as they are now: changes made during the countdown count.
  // A snooze's end rings as the end it put off.
  if (!snoozing_) ring_ = effects_.ringSettings();
  snoozing_ = false;
  steps_.clear();
  expiredAtMs_ = nowMs;
  warnArmed_ = false;
  // Repeated, the sound goes on beside the launch and the message, which
  // come at once instead of after it.
  repeat_ = ring_.repeatMinutes > 0 && (ring_.sound || ring_.beep) ? Repeat::Playing : Repeat::Off;
  if (repeat_ != Repeat::Off) {
    repeatStep_ = ring_.sound ? RingStep::Sound : RingStep::Beep;
    repeatUntilMs_ = nowMs + int64_t{ring_.repeatMinutes} * 60 * 1000;
  } else {
    if (ring_.beep) steps_.push_back(RingStep::Beep);
    if (ring_.sound) steps_.push_back(RingStep::Sound);
  }
  if (ring_.program) steps_.push_back(RingStep::Launch);
  if (ring_.message) steps_.push_back(RingStep::Message);
  enter(CountdownState::Ringing, 0);
  showStage(IDI_IDLE);
  // Keystrokes meant for another program must not land on the alarm's boxes.
  effects_.comeToFront(inputIdleMs >= TypingMilliseconds);
  if (repeat_ != Repeat::Off) {
    playRepeat();
  }
  startStep(nowMs);
}

void Alarm::startStep(int64_t nowMs) {
  if (steps_.empty()) {
    if (repeat_ == Repeat::Off) endRinging(nowMs);
    return;
  }
  switch (steps_.front()) {
    case RingStep::Beep:
      effects_.startBeep();
      return;
    case RingStep::Sound:
      effects_.playSound(ring_.soundFile);
      return;
    case RingStep::Launch:
      effects_.launch(ring_.programFile, ring_.programArguments);
      return;
    case RingStep::LaunchFailureBox:
      effects_.showLaunchFailure(ring_.programFile);
      return;
    case RingStep::Message:
      effects_.showMessage(ring_.messageText);
      return;
  }
}

void Alarm::endRinging(int64_t nowMs) {
  // From ringing straight to running: the computer is held awake between runs.
  if (run_.runs == 0 || run_.run < run_.runs) {
    ++run_.run;
    startRun(nowMs);
    return;
  }
  elapsedShown_ = ring_.showElapsed && !ring_.closeAtEnd;
  enter(CountdownState::Idle, 0);
  if (ring_.closeAtEnd) effects_.close();
  // The first tick shows the time since the end, and aims the next.
  if (elapsedShown_) {
    tickPeriodMs_ = 0;
    effects_.setTickTimer(0);
  }
}

void Alarm::playRepeat() {
  repeat_ = Repeat::Playing;
  if (repeatStep_ == RingStep::Beep) {
    effects_.startBeep();
  } else {
    effects_.playSound(ring_.soundFile);
  }
}

void Alarm::stopRepeat() {
  if (repeat_ == Repeat::Playing) {
    if (repeatStep_ == RingStep::Beep) {
      effects_.stopBeep();
    } else {
      effects_.stopSound();
    }
  } else if (repeat_ == Repeat::Gap) {
    effects_.stopTickTimer();
    tickPeriodMs_ = -1;
  }
  repeat_ = Repeat::Off;
}

void Alarm::tickElapsed(int64_t nowMs) {
  const int64_t sinceMs = nowMs > expiredAtMs_ ? nowMs - expiredAtMs_ : 0;
  effects_.showElapsed(static_cast<int>(sinceMs / 1000));
  // Just past the next whole second since the end.
  const int period = tickTimerPeriod(static_cast<int>(1000 - sinceMs % 1000) + TickSlackMilliseconds);
  if (period == tickPeriodMs_) return;
  tickPeriodMs_ = period;
  effects_.setTickTimer(period);
}

void Alarm::nextStep(int64_t nowMs) {
  steps_.pop_front();
  startStep(nowMs);
}

void Alarm::stopStep() {
  if (!steps_.empty() && steps_.front() == RingStep::Beep) effects_.stopBeep();
  if (!steps_.empty() && steps_.front() == RingStep::Sound) effects_.stopSound();
  steps_.clear();
}
