#include "app/presence_rules.h"

bool personIsTyping(uint32_t nowTicks, uint32_t lastInputTicks) {
  // Signed: a stamp a moment after now is recent, not 49 days old.
  const auto since = static_cast<int32_t>(nowTicks - lastInputTicks);
  return since < static_cast<int32_t>(kTypingMilliseconds);
}

AwakeHold awakeHoldAfter(PowerChange change, AwakePhase phase, int64_t leftMilliseconds) {
  // Held through a sleep, the request would keep the computer up after any
  // automatic wake until the deadline, lid closed.
  if (change == PowerChange::Suspend || phase == AwakePhase::Other) return AwakeHold::None;
  if (change == PowerChange::ResumeByPerson) {
    return phase == AwakePhase::Running ? AwakeHold::System : AwakeHold::SystemAndDisplay;
  }
  // Nobody there: up only for an alarm about to ring, before the system's
  // unattended time-out puts it back to sleep.
  if (phase == AwakePhase::Running && leftMilliseconds <= kOwnWakeMilliseconds) return AwakeHold::System;
  return AwakeHold::None;
}

namespace {

// Whole minutes left, rounded up: it changes as a whole minute is reached.
int minutesStarted(int seconds) { return seconds <= 0 ? 0 : (seconds + 59) / 60; }

}  // namespace

bool announceCountdown(int shownSeconds, int remainSeconds) {
  if (remainSeconds <= 10) return remainSeconds != shownSeconds;
  return minutesStarted(remainSeconds) != minutesStarted(shownSeconds);
}
