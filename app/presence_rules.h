#pragma once

#include <cstdint>

// What the dialog does about the person at the computer: typing in another
// program when the alarm comes, away while the computer sleeps, or following
// the dialog through a screen reader.

// How long after the last key or button the person still counts as typing.
constexpr uint32_t kTypingMilliseconds = 2000;

// True when input came within kTypingMilliseconds before now: the alarm then
// shows without taking the keyboard.  Both on the system's 32-bit millisecond
// tick, which wraps; input stamped after now (read in between) counts too.
bool personIsTyping(uint32_t nowTicks, uint32_t lastInputTicks);

// What the computer is kept from: nothing, idle sleep, or idle sleep and a dark display.
enum class AwakeHold { None, System, SystemAndDisplay };
enum class PowerChange {
  Suspend,          // going to sleep
  ResumeByPerson,   // back with the person's input
  ResumeAutomatic,  // back by itself: a wake timer, maintenance, another program
};
// Where the countdown is, as far as keeping awake goes.
enum class AwakePhase { Other, Running, Ringing };
// The longest a running countdown's deadline may be away for an automatic
// wake to be its own wake timer's, which keeps the computer up for the alarm.
constexpr int64_t kOwnWakeMilliseconds = 2 * 60 * 1000;

// What to hold after the change: nothing through a sleep, and after a wake
// only what the person's return or the alarm's own wake asks for.
AwakeHold awakeHoldAfter(PowerChange change, AwakePhase phase, int64_t leftMilliseconds);

// True when a screen reader's title should change to the caption of
// remainSeconds, the title showing the caption of shownSeconds: once a minute,
// at each whole minute left, and at each second of the last ten.
bool announceCountdown(int shownSeconds, int remainSeconds);
