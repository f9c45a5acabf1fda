#pragma once

#include <cstdint>

#include "base/clock.h"
#include "base/string.h"
#include "resources/resource.h"

// The countdown: from the three time fields to a count of seconds, the count
// down to expiry, and what the user sees of it (caption and stage icon).
// Plain values in, plain values out; the dialog wires it to the controls.

constexpr int TimerId = 100;
constexpr int SecondsPerDay = 86400;
constexpr int BuildNumber = 6;

// Seconds to count from the hours, minutes and seconds texts (String::toInt:
// empty or non-numeric is 0, no range limits).  In time-of-day mode the fields are a
// local time to wait for, and one that is now or past means tomorrow.  A count
// beyond the 32-bit range is clamped to it.
int calcRemainSeconds(const Ostra::String& hours, const Ostra::String& minutes, const Ostra::String& seconds,
                      bool timeOfDay, const Ostra::LocalTime& now);

// Which run of a repeating countdown is counting: number of runs, 0 for
// until stopped; a single run is 1 of 1.
struct RunNumber {
  int run = 1;
  int runs = 1;
  bool operator==(const RunNumber& other) const { return run == other.run && runs == other.runs; }
};

// "あと1時間02分05秒 / Kairon build-6" while running, "Kairon build-6" when idle
// (negative); paused, the running caption after "（一時停止）".
// snoozed: the count of a snooze, "（スヌーズ）あと04分59秒 / Kairon build-6".
// A repeating countdown names its run before the time: "（2/3）あと…", and
// "（2回目）あと…" when it repeats until stopped.
Ostra::String captionText(int remainSeconds, bool paused = false, bool snoozed = false, RunNumber run = {});
// The title after a ringing with the elapsed time on: "終了から02分13秒 / Kairon build-6".
Ostra::String elapsedCaptionText(int elapsedSeconds);

// The seconds the two extend commands add.
constexpr int ShortExtensionSeconds = 60;
constexpr int LongExtensionSeconds = 300;

// IDI_IDLE idle, IDI_RUNNING for 10 or more and for 0, IDI_DIGIT0 - n for 1..9;
// IDI_PAUSED for any count while paused.
int stageIconId(int remainSeconds, bool paused = false);

// A running countdown kept as a deadline on the monotonic clock, so late or
// dropped ticks never make it run late: each tick recomputes the seconds left.
class Countdown {
 public:
  // Counts `count` seconds from nowMs; 0 or less is due at once.  earlyMs moves the deadline back so that
  // it falls on a wall-clock second (the part of the current second gone by).
  void start(int count, int64_t nowMs, int earlyMs = 0);
  void stop() {
    remainSeconds_ = -1;
    paused_ = false;
  }
  // Stands the deadline still: the time left, to the millisecond, waits for
  // resume, which sets a new deadline from it.  A paused count is a duration:
  // it no longer follows the wall clock.  Each does nothing in the wrong state.
  void pause(int64_t nowMs);
  void resume(int64_t nowMs);
  // Adds seconds to the time left, running or paused; a deadline on the wall
  // clock moves with it.  The seconds left are recomputed at once.
  void extend(int seconds, int64_t nowMs);
  // Makes the deadline a time on the wall clock (time-of-day mode): from now on
  // wallClockSet moves it with the clock.  A start forgets it.
  void followWallClock(int64_t nowMs, int64_t wallNowMs);
  // After the clock was set: a deadline on the wall clock is due when the clock
  // says so; a duration is left as it is.
  void wallClockSet(int64_t nowMs, int64_t wallNowMs);

  // Counting or paused: from a start until stop.
  bool running() const { return remainSeconds_ >= 0; }
  bool paused() const { return paused_; }
  // Seconds left as last computed; -1 when idle.
  int remainSeconds() const { return remainSeconds_; }

  // Sets the seconds left to the whole seconds until the deadline, rounded up;
  // true when the deadline has come (the countdown stays as it is).
  bool tick(int64_t nowMs);

  // When the next tick should come: just after the next whole second of the
  // deadline, so that each on-time tick steps the count by exactly one, and at
  // the deadline itself for the last one.
  int nextTickDelay(int64_t nowMs) const;

  // Milliseconds until the deadline, or left when paused; 0 or less once it has come.
  int64_t leftMilliseconds(int64_t nowMs) const { return paused_ ? pausedLeftMs_ : deadlineMs_ - nowMs; }
  // How far the countdown has come, in thousandths: 0 at the start, 1000 at the deadline.
  int progressPermille(int64_t nowMs) const;

 private:
  int remainSeconds_ = -1;
  int64_t startMs_ = 0;
  int64_t deadlineMs_ = 0;
  bool followsWallClock_ = false;
  int64_t wallDeadlineMs_ = 0;
  bool paused_ = false;
  int64_t pausedAtMs_ = 0;
  int64_t pausedLeftMs_ = 0;
};

// How far after a second boundary a tick is aimed, so that the usual timer
// jitter never lands it before the boundary (which would repeat a second).
constexpr int TickSlackMilliseconds = 20;

// What to set the countdown's window timer to, which then repeats at that
// period, for the next tick that nextTickDelay puts delayMs away: a whole
// second when the delay is within a few ms of one (the tick then lands that
// much off its aim, still past its boundary), so that once aligned the timer
// needs no re-arming, which would cost a request to the system every second;
// the delay itself otherwise (aligning, the last second).
int tickTimerPeriod(int delayMs);
