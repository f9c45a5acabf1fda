#include "app/presence_rules.h"

int64_t millisecondsSinceInput(uint32_t nowTicks, uint32_t lastInputTicks) {
  // Signed: a stamp a moment after now is recent, not 49 days old.
  const auto since = static_cast<int32_t>(nowTicks - lastInputTicks);
  return since < 0 ? 0 : since;
}

namespace {

// Whole minutes left, rounded up: it changes as a whole minute is reached.
int minutesStarted(int seconds) { return seconds <= 0 ? 0 : (seconds + 59) / 60; }

}  // namespace

bool announceCountdown(int shownSeconds, int remainSeconds) {
  if (remainSeconds <= 10) return remainSeconds != shownSeconds;
  return minutesStarted(remainSeconds) != minutesStarted(shownSeconds);
}
