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
  const int count = calcRemainSeconds(e.hours, e.minutes, e.seconds, e.timeOfDay, e.localNow);
  // A time of day is due on the wall clock's second, not a whole count of
  // seconds from this moment.
  countdown_.start(count, e.nowMs, e.timeOfDay ? e.localNow.millisecond : 0);
  if (e.timeOfDay) countdown_.followWallClock(e.nowMs, e.wallMs);
  enter(CountdownState::Running, e.nowMs);
  showStage(countingIcon());
}

void Alarm::tick(int64_t nowMs, int64_t inputIdleMs, bool offBeat) {
  // A tick posted before the countdown ended or paused has nothing to count.
  if (state_ != CountdownState::Running) return;
  if (countdown_.tick(nowMs)) {
    ring(inputIdleMs);
    return;
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
    if (step() == RingStep::Message || step() == RingStep::LaunchFailureBox) return;
    // Stopped, the ringing ends here: no later notification, no close at end.
    stopStep();
  }
  enter(CountdownState::Idle, 0);
  showStage(IDI_IDLE);
}

void Alarm::handle(const StepEnded& e) {
  // An end from a step already stopped or passed is no news.
  if (state_ != CountdownState::Ringing || steps_.empty() || steps_.front() != e.step) return;
  nextStep();
}

void Alarm::handle(const StepFailed& e) {
  if (state_ != CountdownState::Ringing || steps_.empty() || steps_.front() != e.step) return;
  steps_.pop_front();
  // A chosen sound is never silent: the beep stands in for it, unless it has
  // already sounded.  A launch that failed says so, or the alarm could pass
  // unnoticed with the message off and the dialog closing.
  if (e.step == RingStep::Sound && !ring_.beep) steps_.push_front(RingStep::Beep);
  if (e.step == RingStep::Launch) steps_.push_front(RingStep::LaunchFailureBox);
  startStep();
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
  if (state_ == CountdownState::Ringing) stopStep();
  if (tickPeriodMs_ >= 0) effects_.stopTickTimer();
  tickPeriodMs_ = -1;
  requestAwake(AwakeRequest::None);
  effects_.disarmWakeTimer();
  countdown_.stop();
  state_ = CountdownState::Idle;
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
    if (next == CountdownState::Idle) countdown_.stop();
  }
  // The controls first: whoever sees the new time finds them in the new state.
  if (was != next) effects_.stateChanged(was, next);
  showTime(nowMs);
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
      effects_.showTime(-1, false, -1);
      return;
    case CountdownState::Ringing:
      effects_.showTime(0, false, -1);
      return;
    case CountdownState::Running:
    case CountdownState::Paused:
      effects_.showTime(countdown_.remainSeconds(), state_ == CountdownState::Paused,
                        countdown_.progressPermille(nowMs));
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

void Alarm::ring(int64_t inputIdleMs) {
  // The controls as they are now: changes made during the countdown count.
  ring_ = effects_.ringSettings();
  steps_.clear();
  if (ring_.beep) steps_.push_back(RingStep::Beep);
  if (ring_.sound) steps_.push_back(RingStep::Sound);
  if (ring_.program) steps_.push_back(RingStep::Launch);
  if (ring_.message) steps_.push_back(RingStep::Message);
  enter(CountdownState::Ringing, 0);
  showStage(IDI_IDLE);
  // Keystrokes meant for another program must not land on the alarm's boxes.
  effects_.comeToFront(inputIdleMs >= TypingMilliseconds);
  startStep();
}

void Alarm::startStep() {
  if (steps_.empty()) {
    enter(CountdownState::Idle, 0);
    if (ring_.closeAtEnd) effects_.close();
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

void Alarm::nextStep() {
  steps_.pop_front();
  startStep();
}

void Alarm::stopStep() {
  if (!steps_.empty() && steps_.front() == RingStep::Beep) effects_.stopBeep();
  if (!steps_.empty() && steps_.front() == RingStep::Sound) effects_.stopSound();
  steps_.clear();
}
