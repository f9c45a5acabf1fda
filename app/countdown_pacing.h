#pragma once

#include <cstdint>

#include "app/timer_engine.h"

// How the window timer paces a running countdown.  The program keeps the
// deadline and aims each tick at its next whole second.  The benchmarks link
// another definition of these three (bench/tick_counting/) that paces it as the
// first design did, so that they can show what the deadline is worth.

// Steps the countdown for one timer message; true when it has expired.
bool stepCountdown(Countdown& countdown, int64_t nowMs);

// The delay to set the window timer to at a start (atStart) or after a step
// that did not expire; negative after a step: leave the running timer alone.
int tickDelay(const Countdown& countdown, int64_t nowMs, bool atStart);

// False in the benchmarks' tick-counting build: only timer messages move that countdown,
// so it neither wakes the computer nor looks at the clock again.
bool pacedByDeadline();
