#pragma once

#include <cstdint>
#include <deque>
#include <variant>

#include "app/dialog_state.h"
#include "app/timer_engine.h"
#include "base/clock.h"
#include "base/string.h"

// The notifications of a ringing, in the order they come.  Each is started by
// an effect and ends with a StepEnded or StepFailed event; the two boxes end
// when the person closes them (StepEnded).
enum class RingStep { Beep, Sound, Launch, LaunchFailureBox, Message };

// What the computer is asked to stay awake for.
enum class AwakeRequest { None, System, SystemAndDisplay };

// The notification controls as they are at expiry: changes made during the
// countdown count.  The texts are the controls' own, not yet resolved.
struct RingSettings {
  bool beep = false;
  bool sound = false;
  Ostra::String soundFile;
  bool program = false;
  Ostra::String programFile;
  Ostra::String programArguments;
  bool message = false;
  Ostra::String messageText;
  bool closeAtEnd = false;
  // The sound (else the beep) plays again after a short gap, for at most this
  // many minutes, while the other notifications go on; 0 plays it once.
  int repeatMinutes = 0;
  // Once the ringing is over, the time since the end is shown until the next start.
  bool showElapsed = false;
  // The message offers to ring again this many minutes later; 0 for no snooze.
  int snoozeMinutes = 0;
};

// What the alarm asks of the window.  Every call returns at once: a step that
// takes time (the beep, the sound, a box) reports its end later as an event,
// never from inside the call.  An event sent from inside a call waits until
// the alarm has finished the event it is handling.
class IAlarmEffects {
 public:
  virtual ~IAlarmEffects() = default;

  // The controls, menus and keyboard focus of a new state.
  virtual void stateChanged(CountdownState was, CountdownState now) = 0;
  // The time left for the caption, tooltip and taskbar: remainSeconds -1 when
  // idle; progressPermille -1 for no progress shown (idle and ringing); the
  // run of a repeating countdown.
  virtual void showTime(int remainSeconds, bool paused, int progressPermille, RunNumber run) = 0;
  // Only when it changes.
  virtual void showStageIcon(int iconId) = 0;
  // The tick timer: repeating every periodMs from now (only when the period
  // changes or the timer is off the deadline's beat), or killed.
  virtual void setTickTimer(int periodMs) = 0;
  virtual void stopTickTimer() = 0;
  // Only when it changes.
  virtual void keepAwake(AwakeRequest request) = 0;
  // The wake timer: due leftMs from now; disarmed; watched from a sleep on.
  virtual void armWakeTimer(int64_t leftMs) = 0;
  virtual void disarmWakeTimer() = 0;
  virtual void watchWakeTimer() = 0;
  // Post a Recheck: the deadline may have passed while nothing ticked.  Posted,
  // not sent: the expiry must not run inside a system broadcast.
  virtual void postRecheck() = 0;
  // At expiry: shown, above other windows; with the keyboard only when the
  // person is not typing elsewhere (otherwise not activated, its taskbar
  // button flashing).
  virtual void comeToFront(bool takeKeyboard) = 0;
  virtual void startBeep() = 0;
  virtual void stopBeep() = 0;
  virtual void playSound(const Ostra::String& file) = 0;
  virtual void stopSound() = 0;
  virtual void launch(const Ostra::String& file, const Ostra::String& arguments) = 0;
  // The box saying that programFile could not be started.
  virtual void showLaunchFailure(const Ostra::String& programFile) = 0;
  virtual void showMessage(const Ostra::String& text) = 0;
  // The time left has fallen to the warning's mark.
  virtual void warnBefore(int minutes) = 0;
  // Idle after a ringing with the elapsed time on: the seconds since the end.
  virtual void showElapsed(int seconds) = 0;
  // The close-at-end option: the dialog closes, after the alarm is idle.
  virtual void close() = 0;
  // Asked once, at expiry.
  virtual RingSettings ringSettings() = 0;
};

// The one owner of a countdown's state and deadline: takes events, answers
// with effects.  Nothing here waits or touches the system; all times come in
// with the events.
class Alarm {
 public:
  // The count from the time fields, as calcRemainSeconds reads them.
  struct Start {
    Ostra::String hours, minutes, seconds;
    bool timeOfDay = false;
    Ostra::LocalTime localNow{};
    int64_t nowMs = 0;
    int64_t wallMs = 0;
    // A warning when the time left falls to this many minutes; 0 for none.
    int warnMinutes = 0;
    // Runs of the same duration, each starting when the ringing before it is
    // over; 0 until stopped.  A time of day runs once.
    int runs = 1;
  };
  // The tick timer's message.  inputIdleMs: since the person's last key or
  // button anywhere, for the expiry's claim on the keyboard.
  struct Tick {
    int64_t nowMs = 0;
    int64_t inputIdleMs = 0;
  };
  // As Tick, off the timer's beat: after a wake, a clock change or a wake timer.
  struct Recheck {
    int64_t nowMs = 0;
    int64_t inputIdleMs = 0;
  };
  struct Pause {
    int64_t nowMs = 0;
  };
  struct Resume {
    int64_t nowMs = 0;
  };
  struct Extend {
    int seconds = 0;
    int64_t nowMs = 0;
  };
  struct Cancel {};
  // nowMs: when the next run of a repeating countdown starts, if this ends the ringing.
  struct StepEnded {
    RingStep step;
    int64_t nowMs = 0;
  };
  struct StepFailed {
    RingStep step;
    int64_t nowMs = 0;
  };
  // The computer is going to sleep.
  struct Suspend {};
  // Back from sleep: by the person (input seen), or automatically (a timer,
  // maintenance), when nobody may be there.
  struct Resumed {
    bool byPerson = false;
    int64_t nowMs = 0;
  };
  // The wall clock was set.
  struct ClockChanged {
    int64_t nowMs = 0;
    int64_t wallMs = 0;
  };
  // The dialog is going away: everything stops, with nothing more shown.
  struct Closing {};
  // While ringing with snooze on: the ringing stops and counts its minutes again.
  struct Snooze {
    int64_t nowMs = 0;
  };
  using Event = std::variant<Start, Tick, Recheck, Pause, Resume, Extend, Cancel, StepEnded, StepFailed, Suspend,
                             Resumed, ClockChanged, Closing, Snooze>;

  // The person is typing when a key or button went down this recently.
  static constexpr int64_t TypingMilliseconds = 2000;
  // An automatic wake holds the computer up only this close to the deadline.
  static constexpr int64_t WakeHoldMilliseconds = 2 * 60 * 1000;
  // The gap between two plays of a repeated sound.
  static constexpr int RepeatGapMilliseconds = 1000;

  explicit Alarm(IAlarmEffects& effects) : effects_(effects) {}
  Alarm(const Alarm&) = delete;
  Alarm& operator=(const Alarm&) = delete;

  // Handles the event and every event sent meanwhile from the effects.
  void on(const Event& event);

  CountdownState state() const { return state_; }
  // Running or paused: what pause, extend and cancel apply to.
  bool counting() const { return state_ == CountdownState::Running || state_ == CountdownState::Paused; }
  // A time of day is due when the clock says so: there is nothing to hold.
  bool canPause() const { return counting() && !timeOfDay_; }
  // Seconds left; -1 when idle, 0 while ringing.
  int remainSeconds() const { return countdown_.remainSeconds(); }
  // The notification under way while ringing.
  RingStep step() const { return steps_.empty() ? RingStep::Message : steps_.front(); }
  // The snooze's minutes while ringing with it on; 0 otherwise.
  int snoozeMinutes() const { return state_ == CountdownState::Ringing ? ring_.snoozeMinutes : 0; }
  // Counting a snooze: the same notifications come at its end.
  bool snoozing() const { return snoozing_; }
  // The run under way; 1 of 1 for a countdown that does not repeat.
  RunNumber run() const { return run_; }

 private:
  void handle(const Start& e);
  void handle(const Tick& e) { tick(e.nowMs, e.inputIdleMs, false); }
  void handle(const Recheck& e) { tick(e.nowMs, e.inputIdleMs, true); }
  void handle(const Pause& e);
  void handle(const Resume& e);
  void handle(const Extend& e);
  void handle(const Cancel& e);
  void handle(const StepEnded& e);
  void handle(const StepFailed& e);
  void handle(const Suspend& e);
  void handle(const Resumed& e);
  void handle(const ClockChanged& e);
  void handle(const Closing& e);
  void handle(const Snooze& e);

  void tick(int64_t nowMs, int64_t inputIdleMs, bool offBeat);
  void enter(CountdownState next, int64_t nowMs);
  void aimTicks(int64_t nowMs, bool offBeat);
  void showTime(int64_t nowMs);
  // The stage of a count running or paused.
  int countingIcon() const;
  void showStage(int iconId);
  void requestAwake(AwakeRequest request);
  void ring(int64_t nowMs, int64_t inputIdleMs);
  // Starts the first step left, or ends the ringing when none is and the
  // repeated sound is over.
  void startStep(int64_t nowMs);
  void nextStep(int64_t nowMs);
  // The next run when there is one, else idle (and closed when asked).
  void endRinging(int64_t nowMs);
  void startRun(int64_t nowMs);
  // Stops what the current step plays; the ringing then ends as stopped.
  void stopStep();
  // The repeated sound: its next play, its end (the gap's timer included).
  void playRepeat();
  void stopRepeat();
  // Idle after a ringing with the time since the end on: shown, timer aimed.
  void tickElapsed(int64_t nowMs);

  IAlarmEffects& effects_;
  CountdownState state_ = CountdownState::Idle;
  Countdown countdown_;
  bool timeOfDay_ = false;
  int tickPeriodMs_ = -1;  // what the running tick timer repeats at; -1 when off
  int stageIcon_ = -1;
  AwakeRequest awake_ = AwakeRequest::None;
  RingSettings ring_;
  std::deque<RingStep> steps_;  // the current step first
  // The repeated sound, outside the steps: off, playing, or in its gap.
  enum class Repeat { Off, Playing, Gap };
  Repeat repeat_ = Repeat::Off;
  RingStep repeatStep_ = RingStep::Sound;
  int64_t repeatUntilMs_ = 0;
  int64_t expiredAtMs_ = 0;
  bool elapsedShown_ = false;  // idle, counting from expiredAtMs_
  int warnSeconds_ = 0;
  bool warnArmed_ = false;
  bool snoozing_ = false;
  RunNumber run_;
  int runSeconds_ = 0;  // each run's count, as the first one started
  std::deque<Event> pending_;
  bool handling_ = false;
};
