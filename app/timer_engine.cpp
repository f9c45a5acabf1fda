#include "app/timer_engine.h"

#include <climits>

using Ostra::String;

int calcRemainSeconds(const String& hours, const String& minutes, const String& seconds, bool timeOfDay,
                      const Ostra::LocalTime& now) {
  // 64-bit arithmetic: absurd digit strings must clamp, not overflow.
  int64_t count = (static_cast<int64_t>(hours.toInt()) * 60 + minutes.toInt()) * 60 + seconds.toInt();
  if (timeOfDay) {
    count -= now.hour * 3600 + now.minute * 60 + now.second;
    if (count <= 0) count += SecondsPerDay;
  }
  if (count > INT_MAX) return INT_MAX;
  if (count < INT_MIN) return INT_MIN;
  return static_cast<int>(count);
}

namespace {

// "1時間02分13秒", "02分13秒", "13秒".
String durationDigits(int seconds) {
  String text;
  if (seconds / 3600 > 0) text += String::format(u"%d", seconds / 3600) + u"時間";
  if (seconds / 60 > 0) text += String::format(u"%02d", seconds / 60 % 60) + u"分";
  return text + String::format(u"%02d", seconds % 60) + u"秒";
}

String programName() { return String(u"Kairon") + String::format(u" build-%d", BuildNumber); }

}  // namespace

String captionText(int remainSeconds, bool paused, bool snoozed, RunNumber run) {
  String caption;
  if (remainSeconds >= 0) {
    if (paused) caption += u"（一時停止）";
    if (snoozed) caption += u"（スヌーズ）";
    if (run.runs == 0) caption += String::format(u"（%d回目）", run.run);
    if (run.runs > 1) caption += String::format(u"（%d/%d）", run.run, run.runs);
    caption += u"あと" + durationDigits(remainSeconds) + u" / ";
  }
  return caption + programName();
}

String elapsedCaptionText(int elapsedSeconds) {
  return u"終了から" + durationDigits(elapsedSeconds < 0 ? 0 : elapsedSeconds) + u" / " + programName();
}

int stageIconId(int remainSeconds, bool paused) {
  if (remainSeconds < 0) return IDI_IDLE;
  if (paused) return IDI_PAUSED;
  if (remainSeconds >= 1 && remainSeconds <= 9) return IDI_DIGIT0 - remainSeconds;
  return IDI_RUNNING;
}
