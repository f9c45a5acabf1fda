#include "app/alarm_options.h"

#include <iterator>

#include "base/exception.h"

using Ostra::CConfigData;
using Ostra::String;

const AlarmOptionKey kAlarmOptionKeys[6] = {
    {u"NotifyRepeat", true, 0, 1, 0}, {u"NotifyRepeatMinutes", false, 1, 60, 5}, {u"SnoozeMinutes", false, 1, 60, 0},
    {u"ShowElapsed", true, 0, 1, 0},  {u"NotifyBefore", false, 1, 120, 0},       {u"RepeatCount", false, 0, 99, 1},
};

namespace {

// The value of one key, 0/1 for a switch; its default when missing.
int readKey(const CConfigData& settings, const AlarmOptionKey& k) {
  if (!settings.contains(k.key)) return k.defaultValue;
  if (k.boolean) return settings.getBool(k.key) ? 1 : 0;
  const String stored = settings.getRaw(k.key);
  // Only digits: "5x" or "-1" in a file is a mistake, not a number to guess at.
  bool digits = !stored.empty() && stored.length() <= 4;
  for (int i = 0; digits && i < stored.length(); ++i) digits = stored[i] >= u'0' && stored[i] <= u'9';
  const int value = digits ? stored.toInt() : -1;
  const bool offAllowed = k.defaultValue == 0;
  if (value == 0 && offAllowed) return 0;
  if (value < k.min || value > k.max) {
    throw Ostra::RuntimeException(u"コンフィグデータ '" + String(k.key) + u"' (数値)の読み込みに失敗しました");
  }
  return value;
}

}  // namespace

bool AlarmOptions::operator==(const AlarmOptions& other) const {
  return repeat == other.repeat && repeatMinutes == other.repeatMinutes && snoozeMinutes == other.snoozeMinutes &&
         showElapsed == other.showElapsed && warnMinutes == other.warnMinutes && runs == other.runs;
}

AlarmOptions readAlarmOptions(const CConfigData& settings) {
  AlarmOptions o;
  o.repeat = readKey(settings, kAlarmOptionKeys[0]) != 0;
  o.repeatMinutes = readKey(settings, kAlarmOptionKeys[1]);
  o.snoozeMinutes = readKey(settings, kAlarmOptionKeys[2]);
  o.showElapsed = readKey(settings, kAlarmOptionKeys[3]) != 0;
  o.warnMinutes = readKey(settings, kAlarmOptionKeys[4]);
  o.runs = readKey(settings, kAlarmOptionKeys[5]);
  return o;
}

void writeAlarmOptions(CConfigData& settings, const AlarmOptions& options) {
  const int values[] = {options.repeat ? 1 : 0,      options.repeatMinutes, options.snoozeMinutes,
                        options.showElapsed ? 1 : 0, options.warnMinutes,   options.runs};
  for (size_t i = 0; i < std::size(kAlarmOptionKeys); ++i) {
    const AlarmOptionKey& k = kAlarmOptionKeys[i];
    const int value = values[i];
    if (value == k.defaultValue) {
      settings.remove(k.key);
    } else if (k.boolean) {
      settings.setBool(k.key, value != 0);
    } else {
      settings.setNumber(k.key, value);
    }
  }
}

AlarmOptionsForm alarmOptionsForm(const AlarmOptions& options) {
  AlarmOptionsForm form;
  form.repeat = options.repeat;
  form.repeatMinutes = String::fromInt(options.repeatMinutes);
  form.snooze = options.snoozeMinutes > 0;
  form.snoozeMinutes = String::fromInt(options.snoozeMinutes > 0 ? options.snoozeMinutes : 5);
  form.showElapsed = options.showElapsed;
  form.warn = options.warnMinutes > 0;
  form.warnMinutes = String::fromInt(options.warnMinutes > 0 ? options.warnMinutes : 5);
  form.runsOn = options.runs != 1;
  form.runs = String::fromInt(options.runs != 1 ? options.runs : 3);
  return form;
}

int formToAlarmOptions(const AlarmOptionsForm& form, AlarmOptions& options, String& message) {
  const struct {
    const String& text;
    bool checked;
    const AlarmOptionKey& key;
  } numbers[] = {{form.repeatMinutes, form.repeat, kAlarmOptionKeys[1]},
                 {form.snoozeMinutes, form.snooze, kAlarmOptionKeys[2]},
                 {form.warnMinutes, form.warn, kAlarmOptionKeys[4]},
                 {form.runs, form.runsOn, kAlarmOptionKeys[5]}};
  int values[std::size(numbers)];
  for (size_t i = 0; i < std::size(numbers); ++i) {
    // The number of an option left off is not looked at: it is not kept either.
    CConfigData one;
    one.setRaw(numbers[i].key.key, numbers[i].text);
    int value = -1;
    try {
      value = readKey(one, numbers[i].key);
    } catch (const Ostra::RuntimeException&) {
    }
    if (numbers[i].checked && value < numbers[i].key.min) {
      message = String::fromInt(numbers[i].key.min) + u" から " + String::fromInt(numbers[i].key.max) +
                u" の数を入れてください";
      return static_cast<int>(i);
    }
    values[i] = value;
  }
  AlarmOptions next = options;
  next.repeat = form.repeat;
  if (values[0] >= 1) next.repeatMinutes = values[0];
  next.snoozeMinutes = form.snooze ? values[1] : 0;
  next.showElapsed = form.showElapsed;
  next.warnMinutes = form.warn ? values[2] : 0;
  next.runs = form.runsOn ? values[3] : 1;
  options = next;
  return -1;
}

String removeMalformedAlarmOptions(CConfigData& settings) {
  String first;
  for (const AlarmOptionKey& k : kAlarmOptionKeys) {
    try {
      readKey(settings, k);
    } catch (const Ostra::RuntimeException& e) {
      if (first.empty()) first = e.message();
      settings.remove(k.key);
    }
  }
  return first;
}
