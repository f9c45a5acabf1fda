#pragma once

#include <cstdint>

// What the dialog does about the person at the computer: typing in another
// program when the alarm comes, or following the dialog through a screen reader.

// Milliseconds from the last key or button to now, both on the system's 32-bit
// millisecond tick, which wraps; input stamped after now (read in between) is 0.
int64_t millisecondsSinceInput(uint32_t nowTicks, uint32_t lastInputTicks);

// True when a screen reader's title should change to the caption of
// remainSeconds, the title showing the caption of shownSeconds: once a minute,
// at each whole minute left, and at each second of the last ten.
bool announceCountdown(int shownSeconds, int remainSeconds);
