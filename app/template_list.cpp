#include "app/template_list.h"

#include <algorithm>
#include <exception>

#include "app/settings.h"
#include "app/timer_engine.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"

using Ostra::CConfigData;
using Ostra::String;

String templateFolder() { return Ostra::resolveFromExecutable(u"./template/"); }

std::vector<String> templateMenuNames(const String& folder, size_t limit) {
  std::vector<String> files;
  try {
    files = Ostra::listFiles(folder, 0);
  } catch (const std::exception&) {
    return {};
  }
  std::vector<String> names;
  for (const String& file : files) {
    // The system's pattern would also take "x.tptx" through its short name.
    const String name = Ostra::fileNamePart(file);
    const int dot = Ostra::extensionDot(name);
    if (dot <= 0 || name.length() - dot != 4 || name.compareAt(dot, u".tpt", 4, 1) != 0) continue;
    names.push_back(name.substring(0, dot));
  }
  // Letters in either case together, as Explorer lists them.
  std::sort(names.begin(), names.end(), [](const String& a, const String& b) {
    const int order = a.compareAt(0, b, std::max(a.length(), b.length()) + 1, 1);
    return order != 0 ? order < 0 : a < b;
  });
  if (names.size() > limit) names.resize(limit);
  return names;
}

String durationText(const CConfigData& settings) {
  const int hours = settings.getNumber(u"TimeH");
  const int minutes = settings.getNumber(u"TimeM");
  const int seconds = settings.getNumber(u"TimeS");
  const Ostra::LocalTime midnight{};
  if (settings.getBool(u"TimeMode")) {
    // The time the countdown waits for, on the clock's 24 hours.
    const int at =
        (calcRemainSeconds(String::fromInt(hours), String::fromInt(minutes), String::fromInt(seconds), true, midnight) %
             SecondsPerDay +
         SecondsPerDay) %
        SecondsPerDay;
    String text = String::format(u"%d:%02d", at / 3600, at / 60 % 60);
    if (at % 60 != 0) text += String::format(u":%02d", at % 60);
    return text;
  }
  const int count = std::max(0, calcRemainSeconds(String::fromInt(hours), String::fromInt(minutes),
                                                  String::fromInt(seconds), false, midnight));
  String text;
  if (count >= 3600) text += String::fromInt(count / 3600) + u"時間";
  if (count / 60 % 60 != 0) text += String::fromInt(count / 60 % 60) + u"分";
  if (count % 60 != 0 || text.empty()) text += String::fromInt(count % 60) + u"秒";
  return text;
}

std::vector<String> templateMenuTexts(const String& folder, const std::vector<String>& names) {
  constexpr int kLongestName = 40;
  // What every start begins with, read once; never written from here.
  CConfigData base;
  writeDefaults(base);
  if (base.readDefault() == Ostra::LoadResult::Loaded) defaultMalformedSettings(base);
  std::vector<String> texts;
  for (const String& name : names) {
    String text = name.length() <= kLongestName ? name : name.wholeCharacterPrefix(kLongestName - 1) + u"…";
    CConfigData settings = base;
    if (settings.read(folder + name + u".tpt") == Ostra::LoadResult::Loaded &&
        defaultMalformedSettings(settings).empty()) {
      text += u"\t" + durationText(settings);
    }
    texts.push_back(text);
  }
  return texts;
}
