#include "app/alarm.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using Ostra::String;

namespace {

const char* stateName(CountdownState state) {
  static const char* const names[] = {"Idle", "Running", "Paused", "Ringing"};
  return names[static_cast<int>(state)];
}

// Every effect as one line of text, in the order asked.
class Recorder : public IAlarmEffects {
 public:
  explicit Recorder(RingSettings settings) : settings_(std::move(settings)) {}
  std::string take() {
    std::string all;
    for (const std::string& line : log_) all += (all.empty() ? "" : "; ") + line;
    log_.clear();
    return all;
  }

  void stateChanged(CountdownState was, CountdownState now) override {
    add(std::string("state ") + stateName(was) + ">" + stateName(now));
  }
  void showTime(int remain, bool paused, int permille, RunNumber run) override {
    std::string line = "time " + std::to_string(remain) + (paused ? " paused " : " ") + std::to_string(permille);
    if (!(run == RunNumber{})) line += " run " + std::to_string(run.run) + "/" + std::to_string(run.runs);
    add(line);
  }
  void showStageIcon(int id) override { add("icon " + std::to_string(id)); }
  void setTickTimer(int periodMs) override { add("timer " + std::to_string(periodMs)); }
  void stopTickTimer() override { add("stopTimer"); }
  void keepAwake(AwakeRequest request) override {
    static const char* const names[] = {"none", "system", "display"};
    add(std::string("awake ") + names[static_cast<int>(request)]);
  }
  void armWakeTimer(int64_t leftMs) override { add("arm " + std::to_string(leftMs)); }
  void disarmWakeTimer() override { add("disarm"); }
  void watchWakeTimer() override { add("watch"); }
  void postRecheck() override { add("recheck"); }
  void comeToFront(bool takeKeyboard) override { add(takeKeyboard ? "front keyboard" : "front background"); }
  void startBeep() override { add("beep"); }
  void stopBeep() override { add("stopBeep"); }
  void playSound(const String& file) override { add("sound " + toUtf8(file)); }
  void stopSound() override { add("stopSound"); }
  void launch(const String& file, const String& arguments) override {
    add("launch " + toUtf8(file) + " " + toUtf8(arguments));
  }
  void showLaunchFailure(const String& file) override { add("launchFailure " + toUtf8(file)); }
  void showMessage(const String& text) override { add("message " + toUtf8(text)); }
  void close() override { add("close"); }
  void warnBefore(int minutes) override { add("warn " + std::to_string(minutes)); }
  void showElapsed(int seconds) override { add("elapsed " + std::to_string(seconds)); }
  RingSettings ringSettings() override { return settings_; }

 protected:
  void add(std::string line) { log_.push_back(std::move(line)); }

 private:
  RingSettings settings_;
  std::vector<std::string> log_;
};

using E = Alarm::Event;
using S = CountdownState;

Alarm::Start duration(const char16_t* seconds, int64_t nowMs = 0) { return {u"0", u"0", seconds, false, {}, nowMs, 0}; }
// 12:00:10 entered at 12:00:00.250, the wall clock then at 100 s.
Alarm::Start timeOfDay() { return {u"12", u"0", u"10", true, {12, 0, 0, 250}, 0, 100000}; }
// Rings at once, and the person has not typed for 5 s.
std::vector<E> ringing() { return {duration(u"0"), Alarm::Tick{10, 5000}}; }

RingSettings everything() {
  RingSettings s;
  s.beep = s.sound = s.program = s.message = s.closeAtEnd = true;
  s.soundFile = u"a.wav";
  s.programFile = u"p.exe";
  s.programArguments = u"-x";
  s.messageText = u"hello";
  return s;
}

RingSettings soundOnly() {
  RingSettings s;
  s.sound = true;
  s.soundFile = u"a.wav";
  return s;
}

std::vector<E> then(std::vector<E> before, std::initializer_list<E> more) {
  before.insert(before.end(), more);
  return before;
}
std::vector<E> then(std::vector<E> before, const std::vector<E>& more) {
  before.insert(before.end(), more.begin(), more.end());
  return before;
}

// State x event -> effects and the next state.  The alarm is brought to the
// row's state by `before`, whose effects are not looked at.
struct Row {
  const char* name;
  std::vector<E> before;
  E event;
  std::string want;
  S after;
  RingSettings settings = everything();
};

template <size_t N>
void expectRows(const Row (&rows)[N]) {
  for (const Row& row : rows) {
    Recorder effects(row.settings);
    Alarm alarm(effects);
    for (const E& event : row.before) alarm.on(event);
    effects.take();
    alarm.on(row.event);
    EXPECT_EQ(row.want, effects.take()) << row.name;
    EXPECT_EQ(row.after, alarm.state()) << row.name;
  }
}

TEST(Alarm, Transitions) {
  using T = Alarm::Tick;
  using Ended = Alarm::StepEnded;
  using Failed = Alarm::StepFailed;
  const std::vector<E> running{duration(u"5")};  // 5 s from 0 ms
  const std::vector<E> dueNow{duration(u"0")};
  const std::vector<E> paused{duration(u"5"), Alarm::Pause{1500}};
  const std::vector<E> atSound = then(ringing(), {Ended{RingStep::Beep}});
  const std::vector<E> atLaunch = then(atSound, {Ended{RingStep::Sound}});
  const std::vector<E> atMessage = then(atLaunch, {Ended{RingStep::Launch}});
  const std::vector<E> atFailureBox = then(atLaunch, {Failed{RingStep::Launch}});
  const Row rows[] = {
      // Idle
      {"start",
       {},
       duration(u"5"),
       "awake system; arm 5000; timer 1020; state Idle>Running; time 5 0; icon 113",
       S::Running},
      {"a count below 0 is due on the first tick",
       {},
       duration(u"-5"),
       "awake system; arm 0; timer 0; state Idle>Running; time 0 1000; icon 105",
       S::Running},
      {"a time of day ends on the clock's second",
       {},
       timeOfDay(),
       "awake system; arm 9750; timer 770; state Idle>Running; time 10 0; icon 105",
       S::Running},
      {"idle tick", {}, T{1000, 0}, "", S::Idle},
      {"idle pause", {}, Alarm::Pause{0}, "", S::Idle},
      {"idle extend", {}, Alarm::Extend{60, 0}, "", S::Idle},
      {"idle cancel", {}, Alarm::Cancel{}, "", S::Idle},
      {"idle step end", {}, Ended{RingStep::Sound}, "", S::Idle},
      {"idle suspend", {}, Alarm::Suspend{}, "", S::Idle},
      {"idle clock", {}, Alarm::ClockChanged{0, 0}, "", S::Idle},
      {"idle closing", {}, Alarm::Closing{}, "disarm", S::Idle},
      // Running
      {"tick on time", running, T{1020, 0}, "time 4 204; icon 114; timer 1000", S::Running},
      {"a tick on the beat leaves the timer", then(running, {T{1020, 0}}), T{2020, 0}, "time 3 404; icon 115",
       S::Running},
      {"a late tick still follows the deadline", then(running, {T{1020, 0}}), T{3990, 0},
       "time 2 798; icon 116; timer 30", S::Running},
      {"recheck re-aims the timer", running, Alarm::Recheck{1500, 0}, "time 4 300; icon 114; timer 520", S::Running},
      {"restart", running, duration(u"5", 2000), "arm 5000; timer 1020; time 5 0", S::Running},
      {"pause", running, Alarm::Pause{1500},
       "stopTimer; disarm; awake none; state Running>Paused; time 4 paused 300; icon 119", S::Paused},
      {"a time of day cannot pause", {timeOfDay()}, Alarm::Pause{1500}, "", S::Running},
      {"resume while running", running, Alarm::Resume{1500}, "", S::Running},
      {"extend", running, Alarm::Extend{60, 1500}, "time 64 23; icon 105; arm 63500; timer 520", S::Running},
      {"cancel", running, Alarm::Cancel{}, "stopTimer; disarm; awake none; state Running>Idle; time -1 -1; icon 104",
       S::Idle},
      {"suspend lets the computer sleep", running, Alarm::Suspend{}, "awake none; watch", S::Running},
      {"the person's wake holds it again", then(running, {Alarm::Suspend{}}), Alarm::Resumed{true, 1000},
       "awake system", S::Running},
      {"an automatic wake near the deadline holds it", then(running, {Alarm::Suspend{}}), Alarm::Resumed{false, 1000},
       "awake system; recheck", S::Running},
      {"an automatic wake far from it does not",
       {duration(u"300"), Alarm::Suspend{}},
       Alarm::Resumed{false, 1000},
       "recheck",
       S::Running},
      {"a duration ignores the clock", running, Alarm::ClockChanged{1000, 50000}, "arm 4000; recheck", S::Running},
      {"a time of day follows the clock",
       {timeOfDay()},
       Alarm::ClockChanged{1000, 104000},
       "arm 5750; recheck",
       S::Running},
      {"step end while running", running, Ended{RingStep::Beep}, "", S::Running},
      {"closing", running, Alarm::Closing{}, "stopTimer; awake none; disarm", S::Idle},
      // Paused
      {"resume", paused, Alarm::Resume{3000},
       "awake system; arm 3500; timer 520; state Paused>Running; time 4 300; icon 114", S::Running},
      {"paused tick", paused, T{3000, 0}, "", S::Paused},
      // The paused icon stays.
      {"paused extend", paused, Alarm::Extend{60, 2000}, "time 64 paused 23", S::Paused},
      {"paused cancel", paused, Alarm::Cancel{}, "state Paused>Idle; time -1 -1; icon 104", S::Idle},
      {"paused suspend", paused, Alarm::Suspend{}, "", S::Paused},
      {"paused clock", paused, Alarm::ClockChanged{3000, 0}, "", S::Paused},
      // The expiry, and each step of the ringing with everything chosen.
      {"expiry", dueNow, T{10, 5000},
       "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front keyboard; beep",
       S::Ringing},
      {"expiry while typing", dueNow, T{10, 1999},
       "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front background; beep",
       S::Ringing},
      {"expiry with nothing chosen", dueNow, T{10, 5000},
       "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front keyboard; "
       "awake none; state Ringing>Idle; time -1 -1",
       S::Idle, RingSettings{}},
      {"beep ends", ringing(), Ended{RingStep::Beep}, "sound a.wav", S::Ringing},
      {"another step's end", ringing(), Ended{RingStep::Sound}, "", S::Ringing},
      {"cancel at the beep", ringing(), Alarm::Cancel{}, "stopBeep; awake none; state Ringing>Idle; time -1 -1",
       S::Idle},
      {"start while ringing", ringing(), duration(u"5"), "", S::Ringing},
      {"tick while ringing", ringing(), T{2000, 0}, "", S::Ringing},
      {"pause while ringing", ringing(), Alarm::Pause{2000}, "", S::Ringing},
      {"extend while ringing", ringing(), Alarm::Extend{60, 2000}, "", S::Ringing},
      {"sound ends", atSound, Ended{RingStep::Sound}, "launch p.exe -x", S::Ringing},
      {"a failed sound after the beep", atSound, Failed{RingStep::Sound}, "launch p.exe -x", S::Ringing},
      {"a stopped sound ends the ringing", atSound, Alarm::Cancel{},
       "stopSound; awake none; state Ringing>Idle; time -1 -1", S::Idle},
      {"closing during the sound", atSound, Alarm::Closing{}, "stopSound; awake none; disarm", S::Idle},
      {"launched", atLaunch, Ended{RingStep::Launch}, "message hello", S::Ringing},
      {"a failed launch says so", atLaunch, Failed{RingStep::Launch}, "launchFailure p.exe", S::Ringing},
      {"cancel at the launch", atLaunch, Alarm::Cancel{}, "awake none; state Ringing>Idle; time -1 -1", S::Idle},
      {"failure box closed", atFailureBox, Ended{RingStep::LaunchFailureBox}, "message hello", S::Ringing},
      {"cancel at the failure box", atFailureBox, Alarm::Cancel{}, "", S::Ringing},
      {"message closed: the end, and close", atMessage, Ended{RingStep::Message},
       "awake none; state Ringing>Idle; time -1 -1; close", S::Idle},
      {"cancel at the message", atMessage, Alarm::Cancel{}, "", S::Ringing},
      {"closing at the message", atMessage, Alarm::Closing{}, "awake none; disarm", S::Idle},
      {"suspend while ringing", atMessage, Alarm::Suspend{}, "awake none", S::Ringing},
      {"the person's wake lights it again", then(atMessage, {Alarm::Suspend{}}), Alarm::Resumed{true, 9000},
       "awake display", S::Ringing},
      {"an automatic wake does not", then(atMessage, {Alarm::Suspend{}}), Alarm::Resumed{false, 9000}, "", S::Ringing},
      // A sound alone: its failure rings the beep, whose end is the end.
      {"a failed sound rings the beep", ringing(), Failed{RingStep::Sound}, "beep", S::Ringing, soundOnly()},
      {"the stand-in beep ends", then(ringing(), {Failed{RingStep::Sound}}), Ended{RingStep::Beep},
       "awake none; state Ringing>Idle; time -1 -1", S::Idle, soundOnly()},
      {"its failed beep too", then(ringing(), {Failed{RingStep::Sound}}), Failed{RingStep::Beep},
       "awake none; state Ringing>Idle; time -1 -1", S::Idle, soundOnly()},
  };
  expectRows(rows);
}

RingSettings repeated(bool beep, bool sound, bool message) {
  RingSettings s;
  s.beep = beep;
  s.sound = sound;
  s.soundFile = u"a.wav";
  s.program = true;
  s.programFile = u"p.exe";
  s.message = message;
  s.messageText = u"hello";
  s.repeatMinutes = 1;
  return s;
}

RingSettings elapsedShown(bool closeAtEnd) {
  RingSettings s = soundOnly();
  s.showElapsed = true;
  s.closeAtEnd = closeAtEnd;
  return s;
}

RingSettings snoozed() {
  RingSettings s = repeated(false, true, true);
  s.snoozeMinutes = 5;
  return s;
}

Alarm::Start warned(const char16_t* minutes, int warnMinutes) {
  return {u"0", minutes, u"0", false, {}, 0, 0, warnMinutes};
}

Alarm::Start runs(const char16_t* seconds, int count) { return {u"0", u"0", seconds, false, {}, 0, 0, 0, count}; }
// The expiry at atMs with everything chosen, up to the message.
std::vector<Alarm::Event> toTheMessage(int64_t atMs) {
  return {Alarm::Tick{atMs, 5000}, Alarm::StepEnded{RingStep::Beep, atMs}, Alarm::StepEnded{RingStep::Sound, atMs},
          Alarm::StepEnded{RingStep::Launch, atMs}};
}

// The options of the ringing, each row a rule: the sound repeated until
// stopped, the time since the end, the warning before it; and a countdown
// that runs again as soon as its ringing is over, with the first run's count.
TEST(Alarm, Options) {
  using T = Alarm::Tick;
  using Ended = Alarm::StepEnded;
  using Failed = Alarm::StepFailed;
  const std::string expiry =
      "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front keyboard; ";
  const std::vector<E> looping = then(ringing(), {Ended{RingStep::Launch}});  // the message up, the sound on
  const std::vector<E> inGap = then(looping, {Ended{RingStep::Sound}});
  const std::vector<E> over = then(ringing(), {Ended{RingStep::Sound}});  // elapsed: the ringing ended at 10 ms
  const std::vector<E> warnRunning{warned(u"10", 5)};
  const std::vector<E> dueNow{duration(u"0")};
  const std::vector<E> none;
  const std::string nextRun = "awake system; arm 5000; timer 1020; state Ringing>Running; ";
  const std::vector<E> threeRuns{runs(u"5", 3)};
  const std::vector<E> firstRinging = then(threeRuns, {T{5000, 5000}});
  const std::vector<E> secondRun = then(firstRinging, {Ended{RingStep::Sound, 6000}});
  const std::vector<E> thirdRinging = then(secondRun, {T{11000, 5000}, Ended{RingStep::Sound, 12000}, T{17000, 5000}});
  const Row rows[] = {
      // Repeated: the sound, the launch and the message at once; the beep only without a file.
      {"repeat: all at once", dueNow, T{10, 5000}, expiry + "sound a.wav; launch p.exe ", S::Ringing,
       repeated(true, true, true)},
      {"repeat: the beep without a file", dueNow, T{10, 5000}, expiry + "beep; launch p.exe ", S::Ringing,
       repeated(true, false, true)},
      {"repeat: nothing to repeat without a sound", dueNow, T{10, 5000}, expiry + "launch p.exe ", S::Ringing,
       repeated(false, false, true)},
      {"repeat: the message comes while it plays", ringing(), Ended{RingStep::Launch}, "message hello", S::Ringing,
       repeated(false, true, true)},
      {"repeat: its end waits the gap", looping, Ended{RingStep::Sound}, "timer 1000", S::Ringing,
       repeated(false, true, true)},
      {"repeat: plays again after the gap", inGap, T{1200, 0}, "stopTimer; sound a.wav", S::Ringing,
       repeated(false, true, true)},
      {"repeat: stops at the limit, the message stays", inGap, T{60010, 0}, "stopTimer", S::Ringing,
       repeated(false, true, true)},
      {"repeat: without a message the limit ends it",
       then(ringing(), {Ended{RingStep::Launch}, Ended{RingStep::Sound}}), T{60010, 0},
       "stopTimer; awake none; state Ringing>Idle; time -1 -1", S::Idle, repeated(false, true, false)},
      {"repeat: OK stops the sound", looping, Ended{RingStep::Message},
       "stopSound; awake none; state Ringing>Idle; time -1 -1", S::Idle, repeated(false, true, true)},
      {"repeat: OK in the gap stops its timer", inGap, Ended{RingStep::Message},
       "stopTimer; awake none; state Ringing>Idle; time -1 -1", S::Idle, repeated(false, true, true)},
      {"repeat: cancel stops it without a message", then(ringing(), {Ended{RingStep::Launch}}), Alarm::Cancel{},
       "stopSound; awake none; state Ringing>Idle; time -1 -1", S::Idle, repeated(false, true, false)},
      {"repeat: cancel waits for the message", looping, Alarm::Cancel{}, "", S::Ringing, repeated(false, true, true)},
      {"repeat: closing stops it", looping, Alarm::Closing{}, "stopSound; awake none; disarm", S::Idle,
       repeated(false, true, true)},
      {"repeat: a failed file repeats the beep", looping, Failed{RingStep::Sound}, "beep", S::Ringing,
       repeated(false, true, true)},
      // The time since the end: shown from the first tick, every second, until the next start.
      {"elapsed: the ringing over", ringing(), Ended{RingStep::Sound}, "awake none; state Ringing>Idle; timer 0",
       S::Idle, elapsedShown(false)},
      {"elapsed: counted from the expiry", over, T{133500, 0}, "elapsed 133; timer 530", S::Idle, elapsedShown(false)},
      {"elapsed: a tick on the beat leaves the timer", then(over, {T{133500, 0}, T{134030, 0}}), T{135030, 0},
       "elapsed 135", S::Idle, elapsedShown(false)},
      {"elapsed: not when the dialog closes", ringing(), Ended{RingStep::Sound},
       "awake none; state Ringing>Idle; time -1 -1; close", S::Idle, elapsedShown(true)},
      {"elapsed: cancel leaves it", then(over, {T{2000, 0}}), Alarm::Cancel{}, "", S::Idle, elapsedShown(false)},
      {"elapsed: the next start ends it", then(over, {T{2000, 0}}), duration(u"5", 3000),
       "awake system; arm 5000; timer 1020; state Idle>Running; time 5 0; icon 113", S::Running, elapsedShown(false)},
      {"elapsed: stopped by hand, not shown", over, Alarm::Cancel{}, "", S::Idle, elapsedShown(false)},
      // Snooze: the ringing stops and counts its minutes again from the press, then rings the same.
      {"snooze: counts again from the press", looping, Alarm::Snooze{5000},
       "stopSound; awake system; arm 300000; timer 1020; state Ringing>Running; time 300 0; icon 105", S::Running,
       snoozed()},
      {"snooze: not when off", looping, Alarm::Snooze{5000}, "", S::Ringing, repeated(false, true, true)},
      {"snooze: not while counting", {duration(u"5")}, Alarm::Snooze{1000}, "", S::Running, snoozed()},
      {"snooze: its end rings again", then(looping, {Alarm::Snooze{5000}}), T{305000, 5000},
       "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front keyboard; "
       "sound a.wav; launch p.exe ",
       S::Ringing, snoozed()},
      {"snooze: cancel ends it", then(looping, {Alarm::Snooze{5000}}), Alarm::Cancel{},
       "stopTimer; disarm; awake none; state Running>Idle; time -1 -1; icon 104", S::Idle, snoozed()},
      // The warning: once when the time left falls to the mark.
      {"warn: at the mark", warnRunning, T{300020, 0}, "warn 5; time 300 500; timer 1000", S::Running, soundOnly()},
      {"warn: once", then(warnRunning, {T{300020, 0}}), T{301020, 0}, "time 299 501", S::Running, soundOnly()},
      {"warn: not above it", warnRunning, T{299020, 0}, "time 301 498; timer 1000", S::Running, soundOnly()},
      {"warn: not when started below it",
       {warned(u"4", 5)},
       T{1020, 0},
       "time 239 4; timer 1000",
       S::Running,
       soundOnly()},
      {"warn: not while paused", then(warnRunning, {Alarm::Pause{299500}}), T{300020, 0}, "", S::Paused, soundOnly()},
      {"warn: again after an extension above it", then(warnRunning, {T{300020, 0}, Alarm::Extend{60, 300500}}),
       T{360020, 0}, "warn 5; time 300 545; timer 1000", S::Running, soundOnly()},
      // Runs
      {"the first run names itself", none, runs(u"5", 3),
       "awake system; arm 5000; timer 1020; state Idle>Running; time 5 0 run 1/3; icon 113", S::Running, soundOnly()},
      {"the ringing over, the next run at once", firstRinging, Ended{RingStep::Sound, 6000},
       nextRun + "time 5 0 run 2/3; icon 113", S::Running, soundOnly()},
      {"the last run ends it", thirdRinging, Ended{RingStep::Sound, 18000},
       "awake none; state Ringing>Idle; time -1 -1", S::Idle, soundOnly()},
      {"close at end waits for the last run", then(threeRuns, toTheMessage(5000)), Ended{RingStep::Message, 6000},
       nextRun + "time 5 0 run 2/3; icon 113", S::Running, everything()},
      {"and then closes",
       then(then(then({runs(u"5", 2)}, toTheMessage(5000)), {Ended{RingStep::Message, 6000}}), toTheMessage(11000)),
       Ended{RingStep::Message, 12000}, "awake none; state Ringing>Idle; time -1 -1; close", S::Idle, everything()},
      {"until stopped counts on", then({runs(u"5", 0)}, {T{5000, 5000}, Ended{RingStep::Sound, 6000}, T{11000, 5000}}),
       Ended{RingStep::Sound, 12000}, nextRun + "time 5 0 run 3/0; icon 113", S::Running, soundOnly()},
      {"cancel ends every run", secondRun, Alarm::Cancel{},
       "stopTimer; disarm; awake none; state Running>Idle; time -1 -1; icon 104", S::Idle, soundOnly()},
      {"an extension is the run's own", then(secondRun, {Alarm::Extend{60, 7000}, T{71000, 5000}}),
       Ended{RingStep::Sound, 72000}, nextRun + "time 5 0 run 3/3; icon 113", S::Running, soundOnly()},
      {"a snooze stays in its run",
       then(threeRuns, {T{5000, 5000}, Ended{RingStep::Launch, 5100}, Alarm::Snooze{6000}, T{306000, 5000},
                        Ended{RingStep::Launch, 306100}}),
       Ended{RingStep::Message, 307000}, "stopSound; " + nextRun + "time 5 0 run 2/3; icon 113", S::Running, snoozed()},
      {"a time of day runs once", none, Alarm::Start{u"12", u"0", u"10", true, {12, 0, 0, 250}, 0, 100000, 0, 3},
       "awake system; arm 9750; timer 770; state Idle>Running; time 10 0; icon 105", S::Running, soundOnly()},
      {"nor does a count of nothing", none, runs(u"0", 0),
       "awake system; arm 0; timer 0; state Idle>Running; time 0 1000; icon 105", S::Running, soundOnly()},
  };
  expectRows(rows);
}

// A box that the person closes at once, and a launch that fails at once: the
// end sent from inside the effect waits until the alarm has finished the
// effect's own event, so nothing runs out of order.
TEST(Alarm, EventsSentFromAnEffectWaitTheirTurn) {
  class AtOnce : public Recorder {
   public:
    using Recorder::Recorder;
    Alarm* alarm = nullptr;
    void launch(const String& file, const String& arguments) override {
      Recorder::launch(file, arguments);
      alarm->on(Alarm::StepFailed{RingStep::Launch});
      add("launch returned");
    }
    void showLaunchFailure(const String& file) override {
      Recorder::showLaunchFailure(file);
      alarm->on(Alarm::StepEnded{RingStep::LaunchFailureBox});
    }
  };
  RingSettings settings;
  settings.program = settings.closeAtEnd = true;
  settings.programFile = u"p.exe";
  AtOnce effects(settings);
  Alarm alarm(effects);
  effects.alarm = &alarm;
  alarm.on(duration(u"0"));
  effects.take();
  alarm.on(Alarm::Tick{10, 0});
  EXPECT_EQ(
      "stopTimer; disarm; awake display; state Running>Ringing; time 0 -1; icon 104; front background; "
      "launch p.exe ; launch returned; launchFailure p.exe; awake none; state Ringing>Idle; time -1 -1; close",
      effects.take());
  EXPECT_EQ(S::Idle, alarm.state());
}

// A whole countdown by its ticks: the count steps by one each on-time tick,
// the stage icon turns to the digits, and the count of 5 rings on the fifth.
TEST(Alarm, FiveSecondsRingOnTheFifthTick) {
  Recorder effects(soundOnly());
  Alarm alarm(effects);
  alarm.on(duration(u"5"));
  const int64_t ticks[] = {1020, 2020, 3020, 4020};
  for (size_t i = 0; i < std::size(ticks); ++i) {
    alarm.on(Alarm::Tick{ticks[i], 0});
    EXPECT_EQ(4 - static_cast<int>(i), alarm.remainSeconds()) << "tick " << i;
  }
  effects.take();
  alarm.on(Alarm::Tick{5000, 0});
  EXPECT_EQ(S::Ringing, alarm.state());
  EXPECT_EQ(RingStep::Sound, alarm.step());
  EXPECT_NE(std::string::npos, effects.take().find("sound a.wav"));
}

}  // namespace
