#include "app/countdown_pacing.h"

#include <algorithm>

namespace {

#ifdef KAIRON_TICK_COUNTING
constexpr bool kCountTimerMessages = true;
#else
constexpr bool kCountTimerMessages = false;
#endif

}  // namespace

bool stepCountdown(Countdown& countdown, int64_t nowMs) {
  if (!kCountTimerMessages) return countdown.tick(nowMs);
  // A plain counter: a late or a dropped message makes the countdown late.
  const int left = std::max(countdown.remainSeconds() - 1, 0);
  countdown.start(left, nowMs);
  return left == 0;
}

int tickDelay(const Countdown& countdown, int64_t nowMs, bool atStart) {
  if (kCountTimerMessages) return atStart ? TickMilliseconds : -1;
  return countdown.nextTickDelay(nowMs);
}

bool pacedByDeadline() { return !kCountTimerMessages; }
