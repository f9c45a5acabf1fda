// The rules about the person at the computer, on plain numbers.
#include "app/presence_rules.h"

#include "app/alarm.h"

#include <gtest/gtest.h>

namespace {

TEST(PresenceRules, TypingMeansInputWithinTwoSecondsAcrossTheTicksWrap) {
  // {now, last input}: the last two wrapped after 49.7 days; 10050 was stamped just after now was read.
  for (const auto& c : {std::pair{10000u, 10000u}, {10000u, 8001u}, {10000u, 10050u}, {500u, 0xFFFFFF00u}})
    EXPECT_LT(millisecondsSinceInput(c.first, c.second), Alarm::TypingMilliseconds) << c.first << " " << c.second;
  for (const auto& c : {std::pair{10000u, 8000u}, {10000u, 0u}, {500u, 0xFFFFF000u}, {0x80000000u, 1000u}})
    EXPECT_GE(millisecondsSinceInput(c.first, c.second), Alarm::TypingMilliseconds) << c.first << " " << c.second;
}

TEST(PresenceRules, ScreenReaderHearsEachWholeMinuteAndTheLastTenSeconds) {
  // {shown, remaining}: 121 to 119 is a late tick that skipped 2:00.
  for (const auto& c : {std::pair{125, 120}, {121, 119}, {61, 60}, {60, 10}, {11, 10}, {10, 9}, {1, 0}})
    EXPECT_TRUE(announceCountdown(c.first, c.second)) << c.first << " " << c.second;
  for (const auto& c : {std::pair{125, 124}, {125, 121}, {120, 119}, {3600, 3599}, {60, 11}, {0, 0}})
    EXPECT_FALSE(announceCountdown(c.first, c.second)) << c.first << " " << c.second;
}

}  // namespace
