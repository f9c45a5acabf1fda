// The rules about the person at the computer, on plain numbers.
#include "app/presence_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(PresenceRules, TypingMeansInputWithinTwoSecondsAcrossTheTicksWrap) {
  const struct {
    uint32_t now, lastInput;
    bool typing;
  } cases[] = {
      {10000, 10000, true},       {10000, 8001, true},       {10000, 8000, false},
      {10000, 0, false},          {10000, 10050, true},       // stamped just after now was read
      {500, 0xFFFFFF00u, true},   {500, 0xFFFFF000u, false},  // the tick wrapped after 49.7 days
      {0x80000000u, 1000, false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.typing, personIsTyping(c.now, c.lastInput)) << c.now << " " << c.lastInput;
}

TEST(PresenceRules, SleepReleasesAndOnlyThePersonOrTheAlarmsOwnWakeHoldsAgain) {
  using C = PowerChange;
  using P = AwakePhase;
  using H = AwakeHold;
  const struct {
    C change;
    P phase;
    int64_t left;
    H hold;
  } cases[] = {
      {C::Suspend, P::Running, 1000, H::None},
      {C::Suspend, P::Ringing, 0, H::None},
      {C::ResumeByPerson, P::Running, 5 * 3600 * 1000, H::System},
      {C::ResumeByPerson, P::Ringing, 0, H::SystemAndDisplay},
      {C::ResumeByPerson, P::Other, 0, H::None},
      {C::ResumeAutomatic, P::Running, 5 * 3600 * 1000, H::None},  // maintenance, another program's timer
      {C::ResumeAutomatic, P::Running, 120001, H::None},
      {C::ResumeAutomatic, P::Running, 120000, H::System},  // its own wake timer
      {C::ResumeAutomatic, P::Running, -500, H::System},    // due while asleep
      {C::ResumeAutomatic, P::Ringing, 0, H::None},
      {C::ResumeAutomatic, P::Other, 0, H::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.hold, awakeHoldAfter(c.change, c.phase, c.left))
        << static_cast<int>(c.change) << " " << static_cast<int>(c.phase) << " " << c.left;
  }
}

TEST(PresenceRules, ScreenReaderHearsEachWholeMinuteAndTheLastTenSeconds) {
  const struct {
    int shown, remain;
    bool announce;
  } cases
      [] =
          {
              {125, 124, false},   {125, 121, false}, {125, 120, true}, {120, 119, false},
              {121, 119, true},  // the tick that would have shown 2:00 came late
              {3600, 3599, false}, {61, 60, true},    {60, 11, false},  {60, 10, true},
              {10, 9, true},       {1, 0, true},      {0, 0, false},    {11, 10, true},
          };
  for (const auto& c : cases) EXPECT_EQ(c.announce, announceCountdown(c.shown, c.remain)) << c.shown << " " << c.remain;
}

}  // namespace
