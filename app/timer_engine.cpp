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

String captionText(int remainSeconds, bool paused) {
  String caption;
  if (remainSeconds >= 0) {
    if (paused) caption += u"（一時停止）";
    caption += u"あと";
    if (remainSeconds / 3600 > 0) caption += String::format(u"%d", remainSeconds / 3600) + u"時間";
    if (remainSeconds / 60 > 0) caption += String::format(u"%02d", remainSeconds / 60 % 60) + u"分";
    caption += String::format(u"%02d", remainSeconds % 60) + u"秒";
    caption += u" / ";
  }
  return caption + String(u"Kairon") + String::format(u" build-%d", BuildNumber);
}

int stageIconId(int remainSeconds, bool paused) {
  if (remainSeconds < 0) return IDI_IDLE;
  if (paused) return IDI_PAUSED;
  if (remainSeconds >= 1 && remainSeconds <= 9) return IDI_DIGIT0 - remainSeconds;
  return IDI_RUNNING;
}
