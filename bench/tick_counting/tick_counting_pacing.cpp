// The first design's pacing, for the benchmarks only: a plain counter stepped
// by a periodic timer, so a late or a dropped message makes the countdown late.
#include <algorithm>

#include "app/countdown_pacing.h"

bool stepCountdown(Countdown& countdown, int64_t nowMs) {
  const int left = std::max(countdown.remainSeconds() - 1, 0);
  countdown.start(left, nowMs);
  return left == 0;
}

int tickDelay(const Countdown&, int64_t, bool atStart) { return atStart ? TickMilliseconds : -1; }

// Only timer messages move this countdown: it neither wakes the computer nor
// looks at the clock again.
bool pacedByDeadline() { return false; }
