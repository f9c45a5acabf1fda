// The first design's countdown, for the benchmarks only: a plain counter that
// each timer message steps by one, so a late or a dropped message makes the
// countdown late.  It never looks at the clock again after the start; the
// recheck that a clock change or a wake from sleep brings, which the
// benchmarks never cause, would take one second more off it.
#include <algorithm>

#include "app/timer_engine.h"

namespace {

constexpr int kTickMilliseconds = 1000;

}  // namespace

void Countdown::start(int count, int64_t nowMs, int) {
  remainSeconds_ = std::max(count, 0);
  startMs_ = nowMs;
  deadlineMs_ = nowMs + static_cast<int64_t>(remainSeconds_) * 1000;
  followsWallClock_ = false;
  paused_ = false;
}

void Countdown::pause(int64_t nowMs) {
  if (!running() || paused_) return;
  paused_ = true;
  pausedAtMs_ = nowMs;
  pausedLeftMs_ = static_cast<int64_t>(remainSeconds_) * 1000;
}

void Countdown::resume(int64_t nowMs) {
  if (!paused_) return;
  paused_ = false;
  deadlineMs_ = nowMs + pausedLeftMs_;
}

void Countdown::extend(int seconds, int64_t nowMs) {
  if (!running()) return;
  remainSeconds_ += seconds;
  pausedLeftMs_ = static_cast<int64_t>(remainSeconds_) * 1000;
  deadlineMs_ = nowMs + pausedLeftMs_;
}

void Countdown::followWallClock(int64_t, int64_t) {}

void Countdown::wallClockSet(int64_t, int64_t) {}

int Countdown::progressPermille(int64_t) const {
  const int64_t total = deadlineMs_ - startMs_;
  if (total <= 0 || remainSeconds_ <= 0) return 1000;
  return static_cast<int>(1000 - std::min<int64_t>(1000, static_cast<int64_t>(remainSeconds_) * 1000000 / total));
}

bool Countdown::tick(int64_t nowMs) {
  if (paused_) return false;
  remainSeconds_ = std::max(remainSeconds_ - 1, 0);
  // What the wake timer is armed with: where the count says the deadline is.
  deadlineMs_ = nowMs + static_cast<int64_t>(remainSeconds_) * 1000;
  return remainSeconds_ == 0;
}

int Countdown::nextTickDelay(int64_t) const { return kTickMilliseconds; }

// Set once at the start and left alone: a periodic timer.
int tickTimerPeriod(int delayMs) { return delayMs; }
