#include "app/countdown_pacing.h"

bool stepCountdown(Countdown& countdown, int64_t nowMs) { return countdown.tick(nowMs); }

int tickDelay(const Countdown& countdown, int64_t nowMs, bool) { return countdown.nextTickDelay(nowMs); }

bool pacedByDeadline() { return true; }
