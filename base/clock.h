#pragma once

#include <cstdint>

namespace Ostra {

// Milliseconds on a clock that never jumps and goes on counting while the
// computer sleeps (GetTickCount64; CLOCK_BOOTTIME on Linux).
int64_t monotonicMilliseconds();

struct LocalTime {
  int hour;         // 0-23
  int minute;       // 0-59
  int second;       // 0-59 (60 in a leap second where the system shows one)
  int millisecond;  // 0-999
};

// The local wall-clock time of day, as the user's clock shows it.
LocalTime localTimeNow();

// The local wall-clock date and time in milliseconds from a fixed origin: it
// jumps when the user sets the clock or the time zone, as the clock shown does.
int64_t wallClockMilliseconds();

}  // namespace Ostra
