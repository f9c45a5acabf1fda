#include "app/timer_engine.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <vector>

#include "tests/support/string_print.h"

using Ostra::LocalTime;
using Ostra::String;

namespace {

TEST(CalcRemainSeconds, Durations) {
  const LocalTime anyTime{12, 34, 56, 0};
  const struct {
    const char16_t *h, *m, *s;
    int want;
  } cases[] = {{u"0", u"0", u"5", 5},       {u"1", u"0", u"0", 3600},  {u"", u"90", u"", 5400},      {u"", u"", u"", 0},
               {u"abc", u"2x", u"07", 127}, {u" 1", u"1", u"1", 3661}, {u"0", u"0", u"86400", 86400}};
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].want, calcRemainSeconds(cases[i].h, cases[i].m, cases[i].s, false, anyTime)) << "case " << i;
}

TEST(CalcRemainSeconds, TimeOfDayWaitsForTheNextSuchMoment) {
  const struct {
    const char16_t *h, *m, *s;
    LocalTime now;
    int want;
  } cases[] = {
      {u"7", u"0", u"0", {7, 0, 0, 0}, 86400},    // now means tomorrow
      {u"6", u"59", u"59", {7, 0, 0, 0}, 86399},  // one second past
      {u"7", u"0", u"0", {6, 59, 30, 0}, 30},
      {u"30", u"0", u"0", {1, 0, 0, 0}, 29 * 3600},  // not reduced modulo a day
      {u"0", u"0", u"0", {23, 59, 59, 500}, 1},
      {u"23", u"59", u"59", {0, 0, 0, 0}, 86399},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].want, calcRemainSeconds(cases[i].h, cases[i].m, cases[i].s, true, cases[i].now)) << "case " << i;
}

TEST(CalcRemainSeconds, HugeCountsClampInsteadOfOverflowing) {
  const LocalTime noon{12, 0, 0, 0};
  EXPECT_EQ(INT_MAX, calcRemainSeconds(u"999999999", u"0", u"0", false, noon));
  EXPECT_EQ(INT_MAX, calcRemainSeconds(u"2147483647", u"2147483647", u"2147483647", true, noon));
  EXPECT_EQ(INT_MAX, calcRemainSeconds(u"596524", u"0", u"0", false, noon));  // 2147486400 > INT_MAX
  EXPECT_EQ(596523 * 3600, calcRemainSeconds(u"596523", u"0", u"0", false, noon));
  // Hours beyond 32 bits (2^32 + 1 would wrap to one hour), either sign.
  EXPECT_EQ(INT_MAX, calcRemainSeconds(u"4294967297", u"0", u"0", false, noon));
  EXPECT_EQ(INT_MAX, calcRemainSeconds(u"4294967297", u"-4294967297", u"0", false, noon));
  EXPECT_EQ(INT_MIN, calcRemainSeconds(u"-4294967297", u"0", u"0", false, noon));
}

TEST(CaptionText, Table) {
  const struct {
    int count;
    const char16_t* want;
  } cases[] = {
      {3725, u"あと1時間02分05秒 / Kairon build-6"},
      {3600, u"あと1時間00分00秒 / Kairon build-6"},
      {3599, u"あと59分59秒 / Kairon build-6"},
      {5400, u"あと1時間30分00秒 / Kairon build-6"},
      {125, u"あと02分05秒 / Kairon build-6"},
      {60, u"あと01分00秒 / Kairon build-6"},
      {59, u"あと59秒 / Kairon build-6"},
      {0, u"あと00秒 / Kairon build-6"},
      {360000, u"あと100時間00分00秒 / Kairon build-6"},
      {-1, u"Kairon build-6"},
      {-100, u"Kairon build-6"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(String(cases[i].want), captionText(cases[i].count)) << i;
  EXPECT_EQ(String(u"（一時停止）あと02分05秒 / Kairon build-6"), captionText(125, true));
  EXPECT_EQ(String(u"Kairon build-6"), captionText(-1, true));
  EXPECT_EQ(String(u"（スヌーズ）あと04分59秒 / Kairon build-6"), captionText(299, false, true));
  EXPECT_EQ(String(u"（2/3）あと24分59秒 / Kairon build-6"), captionText(1499, false, false, {2, 3}));
  EXPECT_EQ(String(u"（一時停止）（12回目）あと00秒 / Kairon build-6"), captionText(0, true, false, {12, 0}));
  EXPECT_EQ(String(u"Kairon build-6"), captionText(-1, false, false, {2, 3}));
}

TEST(ElapsedCaptionText, HoursAsInTheCountdown) {
  EXPECT_EQ(String(u"終了から02分13秒 / Kairon build-6"), elapsedCaptionText(133));
  EXPECT_EQ(String(u"終了から1時間02分13秒 / Kairon build-6"), elapsedCaptionText(3733));
  EXPECT_EQ(String(u"終了から00秒 / Kairon build-6"), elapsedCaptionText(0));
  EXPECT_EQ(String(u"終了から00秒 / Kairon build-6"), elapsedCaptionText(-3));
}

TEST(StageIconId, Table) {
  const struct {
    int count, want;
  } cases[] = {{-1, 104}, {-7, 104}, {10, 105}, {3600, 105}, {9, 109}, {8, 110}, {7, 111},      {6, 112},
               {5, 113},  {4, 114},  {3, 115},  {2, 116},    {1, 117}, {0, 105}, {INT_MAX, 105}};
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].want, stageIconId(cases[i].count)) << i;
}

// Drives a countdown the way the dialog does: each tick arrives when the
// countdown asked for it, plus the given lateness.
struct TickLog {
  std::vector<int> counts;  // remainSeconds after each tick that did not expire
  int64_t expiredAt = -1;
  int ticks = 0;
};

TickLog runCountdown(int count, int64_t startMs, int earlyMs, int64_t (*lateness)(int tick)) {
  Countdown countdown;
  countdown.start(count, startMs, earlyMs);
  TickLog run;
  int64_t now = startMs;
  while (run.ticks < 100000) {
    now += countdown.nextTickDelay(now) + lateness(run.ticks);
    ++run.ticks;
    if (countdown.tick(now)) {
      run.expiredAt = now;
      break;
    }
    run.counts.push_back(countdown.remainSeconds());
  }
  return run;
}

int64_t onTime(int) { return 0; }

TEST(Countdown, OnTimeTicksStepByOneAndExpireOnTheNthTick) {
  const TickLog run = runCountdown(5, 1000, 0, onTime);
  EXPECT_EQ((std::vector<int>{4, 3, 2, 1}), run.counts);
  EXPECT_EQ(5, run.ticks);
  EXPECT_EQ(6000, run.expiredAt);
  std::vector<int> icons;
  for (int c : run.counts) icons.push_back(stageIconId(c));
  EXPECT_EQ(113, stageIconId(5));
  EXPECT_EQ((std::vector<int>{114, 115, 116, 117}), icons);
}

TEST(Countdown, OneHourDropsTheHourPartAfterTheFirstTick) {
  Countdown countdown;
  countdown.start(3600, 0);
  EXPECT_EQ(String(u"あと1時間00分00秒 / Kairon build-6"), captionText(countdown.remainSeconds()));
  const int64_t now = countdown.nextTickDelay(0);
  EXPECT_FALSE(countdown.tick(now));
  EXPECT_EQ(String(u"あと59分59秒 / Kairon build-6"), captionText(countdown.remainSeconds()));
}

TEST(Countdown, PauseHoldsTheTimeLeftAndExtendAddsToIt) {
  // From 10 s started at 0: a step ('p'ause, 'r'esume, e'x'tend by 60 s, 't'ick)
  // at its time, then the seconds left, the milliseconds left and the progress.
  const struct {
    char step;
    int64_t at, seconds, leftMs, permille;
  } steps[] = {{'t', 2500, 8, 7500, 250},    {'p', 2500, 8, 7500, 250},      {'t', 60000, 8, 7500, 250},
               {'r', 100000, 8, 7500, 250},  {'t', 101000, 7, 6500, 350},    {'x', 101000, 67, 66500, 50},
               {'p', 102000, 66, 65500, 64}, {'x', 103000, 126, 125500, 34}, {'r', 104000, 126, 125500, 34},
               {'t', 229500, 0, 0, 1000}};
  Countdown countdown;
  countdown.start(10, 0);
  for (const auto& s : steps) {
    if (s.step == 'p') countdown.pause(s.at);
    if (s.step == 'r') countdown.resume(s.at);
    if (s.step == 'x') countdown.extend(ShortExtensionSeconds, s.at);
    if (s.step == 't') {
      EXPECT_EQ(s.seconds == 0, countdown.tick(s.at));
    }
    EXPECT_EQ(s.seconds, countdown.remainSeconds()) << s.step << s.at;
    EXPECT_EQ(s.leftMs, countdown.leftMilliseconds(s.at)) << s.step << s.at;
    EXPECT_EQ(s.permille, countdown.progressPermille(s.at)) << s.step << s.at;
  }
  // A time of day moves later on the wall clock too: set 10 s on, it is due 10 s sooner.
  countdown.start(30, 0);
  countdown.followWallClock(0, 50000);
  countdown.extend(LongExtensionSeconds, 0);
  countdown.wallClockSet(1000, 61000);
  EXPECT_EQ(319000, countdown.leftMilliseconds(1000));
}

TEST(Countdown, ZeroAndNegativeCountsExpireOnTheFirstTick) {
  for (int count : {0, -5}) {
    Countdown countdown;
    countdown.start(count, 500);
    EXPECT_TRUE(countdown.running()) << count;
    EXPECT_EQ(0, countdown.remainSeconds()) << count;
    EXPECT_EQ(0, countdown.nextTickDelay(500)) << count;
    EXPECT_TRUE(countdown.tick(500)) << count;
  }
}

TEST(Countdown, ARepeatingTimerIsReArmedOnlyToAlignAndForTheLastSecond) {
  // A window timer fires every period from its arming, each message a little
  // late (1-9 ms, not adding up); it is re-armed only for another period.
  const struct {
    int64_t startMs;
    int lateMaxMs, count;
  } cases[] = {{0, 1, 30}, {1234, 9, 30}, {777, 5, 3}, {999, 9, 120}, {500, 3, 1}};
  for (const auto& c : cases) {
    Countdown countdown;
    countdown.start(c.count, c.startMs);
    int period = tickTimerPeriod(countdown.nextTickDelay(c.startMs));
    int64_t due = c.startMs + period;
    int arms = 1;
    std::vector<int> counts;
    for (int tick = 0;; ++tick) {
      const int64_t now = due + 1 + (tick * 7) % c.lateMaxMs;
      if (countdown.tick(now)) {
        EXPECT_LE(countdown.leftMilliseconds(now), 0) << c.startMs;
        EXPECT_GE(countdown.leftMilliseconds(now), -c.lateMaxMs) << c.startMs;
        break;
      }
      counts.push_back(countdown.remainSeconds());
      const int delay = countdown.nextTickDelay(now);
      if (tickTimerPeriod(delay) == period) {
        due += period;
      } else {
        period = tickTimerPeriod(delay);
        due = now + period;
        ++arms;
      }
    }
    std::vector<int> stepByOne;
    for (int left = c.count - 1; left > 0; --left) stepByOne.push_back(left);
    EXPECT_EQ(stepByOne, counts) << c.startMs;
    // At the start, once to a period of a second, once for the last second.
    EXPECT_LE(arms, 3) << c.startMs;
  }
}

TEST(Countdown, LateAndDroppedTicksStillExpireAtTheDeadline) {
  // A tick 0-900 ms late, and now and then one lost altogether.
  const auto jittery = [](int tick) -> int64_t { return tick % 7 == 3 ? 1000 : (tick * 137) % 900; };
  const TickLog run = runCountdown(60, 0, 0, jittery);
  // Expiry comes with the first tick at or after the deadline: no later than
  // that tick's own lateness.
  ASSERT_GE(run.expiredAt, 60000);
  EXPECT_LE(run.expiredAt, 60000 + jittery(run.ticks - 1));
  for (size_t i = 1; i < run.counts.size(); ++i) EXPECT_LE(run.counts[i], run.counts[i - 1]);
  // A tick counting 60 ticks instead would end seconds late.
  EXPECT_LT(run.ticks, 60);
}

TEST(Countdown, EarlyTicksNeitherSkipNorExpireEarly) {
  Countdown countdown;
  countdown.start(3, 0);
  EXPECT_FALSE(countdown.tick(995));  // 5 ms before the first boundary
  EXPECT_EQ(3, countdown.remainSeconds());
  EXPECT_EQ(5 + TickSlackMilliseconds, countdown.nextTickDelay(995));
  EXPECT_FALSE(countdown.tick(1020));
  EXPECT_EQ(2, countdown.remainSeconds());
  EXPECT_FALSE(countdown.tick(2998));  // the last tick, 2 ms early
  EXPECT_EQ(1, countdown.remainSeconds());
  EXPECT_EQ(2, countdown.nextTickDelay(2998));
  EXPECT_TRUE(countdown.tick(3000));
}

TEST(Countdown, TimeOfDayDeadlineFallsOnTheWallClockSecond) {
  // Started at 6:59:30.700 for 7:00:00: 30 whole seconds by the fields, but the
  // alarm is due 29.3 s later.
  const LocalTime now{6, 59, 30, 700};
  const int count = calcRemainSeconds(u"7", u"0", u"0", true, now);
  ASSERT_EQ(30, count);
  Countdown countdown;
  countdown.start(count, 10000, now.millisecond);
  EXPECT_EQ(300 + TickSlackMilliseconds, countdown.nextTickDelay(10000));
  EXPECT_FALSE(countdown.tick(10320));
  EXPECT_EQ(29, countdown.remainSeconds());
  EXPECT_FALSE(countdown.tick(39299));
  EXPECT_TRUE(countdown.tick(39300));
}

TEST(Countdown, SleepPastTheDeadlineExpiresAtTheFirstTickAfterWaking) {
  Countdown countdown;
  countdown.start(600, 0);
  EXPECT_FALSE(countdown.tick(1020));
  EXPECT_TRUE(countdown.tick(3 * 3600 * 1000));  // the machine slept for hours
}

TEST(Countdown, ATimeOfDayFollowsTheClockWhenItIsSetAndADurationDoesNot) {
  // 7:00:00 entered at 6:59:30 (wall 0), then the clock is set 5 s later by
  // `jump` ms; the alarm is still due when the clock shows 7:00:00.
  const struct {
    bool timeOfDay;
    int64_t jump;
    int64_t dueAt;  // on the monotonic clock
  } cases[] = {
      {true, 20000, 10000}, {true, -60000, 90000}, {true, 0, 30000}, {false, 20000, 30000}, {false, -60000, 30000},
  };
  for (const auto& c : cases) {
    Countdown countdown;
    countdown.start(30, 0);
    if (c.timeOfDay) countdown.followWallClock(0, 0);
    countdown.wallClockSet(5000, 5000 + c.jump);
    EXPECT_EQ(c.dueAt - 5000, countdown.leftMilliseconds(5000)) << c.timeOfDay << " " << c.jump;
    EXPECT_FALSE(countdown.tick(c.dueAt - 1));
    EXPECT_TRUE(countdown.tick(c.dueAt));
    countdown.start(30, 0);  // a new start is a duration again
    countdown.wallClockSet(5000, 5000 + c.jump);
    EXPECT_EQ(25000, countdown.leftMilliseconds(5000));
  }
}

TEST(Countdown, ProgressRunsFromNothingAtTheStartToAllAtTheDeadline) {
  Countdown countdown;
  countdown.start(10, 2000);
  const int64_t at[] = {2000, 4500, 11999, 12000, 15000};
  const int want[] = {0, 250, 999, 1000, 1000};
  for (size_t i = 0; i < std::size(at); ++i) EXPECT_EQ(want[i], countdown.progressPermille(at[i])) << at[i];
  countdown.start(0, 0);
  EXPECT_EQ(1000, countdown.progressPermille(0));
}

TEST(Countdown, StopMakesItIdle) {
  Countdown countdown;
  EXPECT_FALSE(countdown.running());
  EXPECT_EQ(-1, countdown.remainSeconds());
  countdown.start(10, 0);
  EXPECT_TRUE(countdown.running());
  countdown.stop();
  EXPECT_FALSE(countdown.running());
  EXPECT_EQ(-1, countdown.remainSeconds());
}

}  // namespace
