#include "app/countdown_pacing.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

// The program's own pacing, by the deadline:
// late or missing timer messages never make the countdown late, and each
// delay aims just past the deadline's next whole second.
TEST(CountdownPacing, StepsFollowTheDeadline) {
  const struct {
    int64_t atMs;
    bool expired;
    int remain;
    int delay;  // for the next tick; only when not expired
  } steps[] = {
      {1020, false, 4, 1000},  // on time
      {1500, false, 4, 520},   // an extra message counts nothing twice
      {3990, false, 2, 30},    // two messages lost: the count still follows the clock
      {4020, false, 1, 980},   // the last second aims at the deadline itself
      {4999, false, 1, 1},    {5000, true, 0, 0},
  };
  Countdown countdown;
  countdown.start(5, 0);
  EXPECT_EQ(1020, tickDelay(countdown, 0, true));
  for (size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(steps[i].expired, stepCountdown(countdown, steps[i].atMs)) << "step " << i;
    EXPECT_EQ(steps[i].remain, countdown.remainSeconds()) << "step " << i;
    if (steps[i].expired) continue;
    EXPECT_EQ(steps[i].delay, tickDelay(countdown, steps[i].atMs, false)) << "step " << i;
  }
}

TEST(CountdownPacing, ZeroExpiresOnTheFirstMessage) {
  Countdown countdown;
  countdown.start(0, 7000);
  EXPECT_EQ(0, tickDelay(countdown, 7000, true));
  EXPECT_TRUE(stepCountdown(countdown, 7001));
  EXPECT_EQ(0, countdown.remainSeconds());
}

}  // namespace
