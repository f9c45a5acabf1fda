#pragma once

#include "base/string.h"
#include "config/config_data.h"

// The ringing's options beyond the dialog's controls, each off by default.
// A key is in a file only while its option differs from its default, so that
// files written with every option off stay as they were before the options.
struct AlarmOptions {
  bool repeat = false;       // NotifyRepeat: the sound until stopped
  int repeatMinutes = 5;     // NotifyRepeatMinutes: for at most this long
  int snoozeMinutes = 0;     // SnoozeMinutes: 0 is off
  bool showElapsed = false;  // ShowElapsed: the time since the end
  int warnMinutes = 0;       // NotifyBefore: 0 is off
  int runs = 1;              // RepeatCount: the countdown's runs, 0 until stopped

  bool operator==(const AlarmOptions& other) const;
};

// Each key with its range, in the order every operation handles them.
struct AlarmOptionKey {
  const char16_t* key;
  bool boolean;
  int min, max;  // the range of an option that is on (a number)
  int defaultValue;
};
extern const AlarmOptionKey kAlarmOptionKeys[6];

// A missing key has its default.  Throws RuntimeException, with the text every
// malformed key gets, where a value does not fit its type or range (a switched
// -off 0 fits SnoozeMinutes and NotifyBefore, and RepeatCount's "until stopped").
AlarmOptions readAlarmOptions(const Ostra::CConfigData& settings);
// The keys of options that differ from their defaults, the others removed.
void writeAlarmOptions(Ostra::CConfigData& settings, const AlarmOptions& options);
// The 詳細設定 box's values: each option's check and number as typed.
struct AlarmOptionsForm {
  bool repeat = false;
  Ostra::String repeatMinutes;
  bool snooze = false;
  Ostra::String snoozeMinutes;
  bool showElapsed = false;
  bool warn = false;
  Ostra::String warnMinutes;
  bool runsOn = false;
  Ostra::String runs;
};
// The box as the options fill it: an option off shows its usual number.
AlarmOptionsForm alarmOptionsForm(const AlarmOptions& options);
// The options the box holds into options; on a number of a checked option
// outside its range, options unchanged, that number's index (0 repeat,
// 1 snooze, 2 warning, 3 runs) and message ("1 から 60 の数を入れてください").
int formToAlarmOptions(const AlarmOptionsForm& form, AlarmOptions& options, Ostra::String& message);

// Removes each malformed key (it has its default then); the first one's error
// text, empty when every key reads.
Ostra::String removeMalformedAlarmOptions(Ostra::CConfigData& settings);
