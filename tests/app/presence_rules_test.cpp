// The rules about the person at the computer, on plain numbers.
#include "app/presence_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(PresenceRules, TypingMeansInputWithinTwoSecondsAcrossTheTicksWrap) {
  // {now, last input}: the last two wrapped after 49.7 days; 10050 was stamped just after now was read.
  for (const auto& c : {std::pair{10000u, 10000u}, {10000u, 8001u}, {10000u, 10050u}, {500u, 0xFFFFFF00u}})
    EXPECT_TRUE(personIsTyping(c.first, c.second)) << c.first << " " << c.second;
  for (const auto& c : {std::pair{10000u, 8000u}, {10000u, 0u}, {500u, 0xFFFFF000u}, {0x80000000u, 1000u}})
    EXPECT_FALSE(personIsTyping(c.first, c.second)) << c.first << " " << c.second;
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
      {C::ResumeByPerson, P::Running, 1 << 30, H::System},
      {C::ResumeByPerson, P::Ringing, 0, H::SystemAndDisplay},
      {C::ResumeByPerson, P::Other, 0, H::None},
      {C::ResumeAutomatic, P::Running, 1 << 30, H::None},
      {C::ResumeAutomatic, P::Running, 120001, H::None},
      {C::ResumeAutomatic, P::Running, 120000, H::System},
      {C::ResumeAutomatic, P::Running, -500, H::System},
      {C::ResumeAutomatic, P::Ringing, 0, H::None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.hold, awakeHoldAfter(c.change, c.phase, c.left)) << int(c.change) << int(c.phase) << " " << c.left;
}

TEST(PresenceRules, ScreenReaderHearsEachWholeMinuteAndTheLastTenSeconds) {
  // {shown, remaining}: 121 to 119 is a late tick that skipped 2:00.
  for (const auto& c : {std::pair{125, 120}, {121, 119}, {61, 60}, {60, 10}, {11, 10}, {10, 9}, {1, 0}})
    EXPECT_TRUE(announceCountdown(c.first, c.second)) << c.first << " " << c.second;
  for (const auto& c : {std::pair{125, 124}, {125, 121}, {120, 119}, {3600, 3599}, {60, 11}, {0, 0}})
    EXPECT_FALSE(announceCountdown(c.first, c.second)) << c.first << " " << c.second;
}

}  // namespace
