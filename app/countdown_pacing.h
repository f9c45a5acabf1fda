#pragma once

#include <cstdint>

#include "app/timer_engine.h"

// How the window timer paces a running countdown.  The program keeps the
// deadline and aims each tick at its next whole second.  A benchmark build
// (the CMake option KAIRON_TICK_COUNTING) paces it as the first design did
// instead: a periodic 1000 ms timer, one second off per timer message however
// late it comes, so that the benchmarks can show what the deadline is worth.

// Steps the countdown for one timer message; true when it has expired.
bool stepCountdown(Countdown& countdown, int64_t nowMs);

// The delay to set the window timer to at a start (atStart) or after a step
// that did not expire; negative after a step: leave the running timer alone.
int tickDelay(const Countdown& countdown, int64_t nowMs, bool atStart);

// False in the tick-counting build: only timer messages move that countdown,
// so it neither wakes the computer nor looks at the clock again.
bool pacedByDeadline();
