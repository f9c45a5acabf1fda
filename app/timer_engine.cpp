#include "app/timer_engine.h"

#include <climits>

using Ostra::String;

int calcRemainSeconds(const String& hours, const String& minutes, const String& seconds, bool timeOfDay,
                      const Ostra::LocalTime& now) {
  // 64-bit arithmetic: absurd digit strings must clamp, not overflow.
  int64_t count = (static_cast<int64_t>(hours.toInt()) * 60 + minutes.toInt()) * 60 + seconds.toInt();
  if (timeOfDay) {
    count -= now.hour * 3600 + now.minute * 60 + now.second;
    if (count <= 0) count += SecondsPerDay;
  }
  if (count > INT_MAX) return INT_MAX;
  if (count < INT_MIN) return INT_MIN;
  return static_cast<int>(count);
}

String captionText(int remainSeconds, bool paused) {
  String caption;
  if (remainSeconds >= 0) {
    if (paused) caption += u"（一時停止）";
    caption += u"あと";
    if (remainSeconds / 3600 > 0) caption += String::format(u"%d", remainSeconds / 3600) + u"時間";
    if (remainSeconds / 60 > 0) caption += String::format(u"%02d", remainSeconds / 60 % 60) + u"分";
    caption += String::format(u"%02d", remainSeconds % 60) + u"秒";
    caption += u" / ";
  }
  return caption + String(u"Kairon") + String::format(u" build-%d", BuildNumber);
}

int stageIconId(int remainSeconds, bool paused) {
  if (remainSeconds < 0) return IDI_IDLE;
  if (paused) return IDI_PAUSED;
  if (remainSeconds >= 1 && remainSeconds <= 9) return IDI_DIGIT0 - remainSeconds;
  return IDI_RUNNING;
}

void Countdown::start(int count, int64_t nowMs, int earlyMs) {
  // A count of 0 or less is due at once; kept negative it would read as idle
  // and the first tick would find nothing to count.
  if (count < 0) count = 0;
  remainSeconds_ = count;
  startMs_ = nowMs;
  deadlineMs_ = nowMs + static_cast<int64_t>(count) * 1000 - earlyMs;
  followsWallClock_ = false;
  paused_ = false;
}

namespace {

// Whole seconds in leftMs, rounded up; 0 once it is gone.
int secondsLeft(int64_t leftMs) {
  if (leftMs <= 0) return 0;
  const int64_t seconds = (leftMs + 999) / 1000;
  return seconds > INT_MAX ? INT_MAX : static_cast<int>(seconds);
}

}  // namespace

void Countdown::pause(int64_t nowMs) {
  if (!running() || paused_) return;
  paused_ = true;
  followsWallClock_ = false;
  pausedAtMs_ = nowMs;
  pausedLeftMs_ = deadlineMs_ - nowMs < 0 ? 0 : deadlineMs_ - nowMs;
  remainSeconds_ = secondsLeft(pausedLeftMs_);
}

void Countdown::resume(int64_t nowMs) {
  if (!paused_) return;
  paused_ = false;
  deadlineMs_ = nowMs + pausedLeftMs_;
  // The pause is no part of the way: the progress goes on from where it stood.
  startMs_ += nowMs - pausedAtMs_;
}

void Countdown::extend(int seconds, int64_t nowMs) {
  if (!running()) return;
  const int64_t added = static_cast<int64_t>(seconds) * 1000;
  deadlineMs_ += added;  // while paused too: the progress measures against it
  if (paused_) {
    pausedLeftMs_ += added;
    remainSeconds_ = secondsLeft(pausedLeftMs_);
    return;
  }
  wallDeadlineMs_ += added;
  remainSeconds_ = secondsLeft(deadlineMs_ - nowMs);
}

void Countdown::followWallClock(int64_t nowMs, int64_t wallNowMs) {
  followsWallClock_ = true;
  wallDeadlineMs_ = wallNowMs + (deadlineMs_ - nowMs);
}

void Countdown::wallClockSet(int64_t nowMs, int64_t wallNowMs) {
  if (!running() || !followsWallClock_) return;
  deadlineMs_ = nowMs + (wallDeadlineMs_ - wallNowMs);
}

int Countdown::progressPermille(int64_t nowMs) const {
  if (paused_) nowMs = pausedAtMs_;
  const int64_t total = deadlineMs_ - startMs_;
  if (total <= 0 || nowMs >= deadlineMs_) return 1000;
  if (nowMs <= startMs_) return 0;
  return static_cast<int>((nowMs - startMs_) * 1000 / total);
}

bool Countdown::tick(int64_t nowMs) {
  if (paused_) return false;
  const int64_t leftMs = deadlineMs_ - nowMs;
  remainSeconds_ = secondsLeft(leftMs);
  return leftMs <= 0;
}

int Countdown::nextTickDelay(int64_t nowMs) const {
  const int64_t leftMs = deadlineMs_ - nowMs;
  if (leftMs <= 0) return 0;
  if (leftMs <= 1000) return static_cast<int>(leftMs);
  // The next boundary is the largest whole number of seconds before the deadline
  // that is still ahead of now.
  const int64_t toBoundary = (leftMs - 1) % 1000 + 1;
  return static_cast<int>(toBoundary) + TickSlackMilliseconds;
}

int tickTimerPeriod(int delayMs) {
  // Less than the slack either way: a tick within it is still past its
  // boundary, and the last second's delay (the slack short of a second, or
  // less) never passes for one.
  constexpr int kToleranceMs = TickSlackMilliseconds / 2;
  return delayMs >= 1000 - kToleranceMs && delayMs <= 1000 + kToleranceMs ? 1000 : delayMs;
}
