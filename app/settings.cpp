#include "app/settings.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "app/alarm_options.h"
#include "app/shown_text.h"
#include "app/timer_engine.h"
#include "base/environment.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/zone_identifier.h"
#include "resources/resource.h"

using Ostra::CConfigData;
using Ostra::String;

namespace {

// The key is there and holds exactly "true": a switch that only that turns on.
bool holdsExactlyTrue(const CConfigData& settings, const String& key) {
  return settings.contains(key) && settings.getRaw(key) == String(u"true");
}

}  // namespace

const Setting kSettings[14] = {
    {u"TimeH", SettingKind::Number, u"0", IDC_HOURS},
    {u"TimeM", SettingKind::Number, u"0", IDC_MINUTES},
    {u"TimeS", SettingKind::Number, u"0", IDC_SECONDS},
    {u"TimeMode", SettingKind::Boolean, u"false", IDC_TIME_OF_DAY},
    {u"NotifyMsg", SettingKind::Boolean, u"true", IDC_MESSAGE_ON},
    {u"NotifyMsgText", SettingKind::Text, u"", IDC_MESSAGE_TEXT},
    {u"NotifyBeep", SettingKind::Boolean, u"false", IDC_BEEP},
    {u"NotifyWav", SettingKind::Boolean, u"false", IDC_SOUND_ON},
    {u"NotifyWavFile", SettingKind::Raw, u"%windir%\\Media\\chimes.wav", IDC_SOUND_FILE},
    {u"NotifyExe", SettingKind::Boolean, u"false", IDC_PROGRAM_ON},
    {u"NotifyExeFile", SettingKind::Raw, u"%comspec%", IDC_PROGRAM_FILE},
    {u"NotifyExePrm", SettingKind::Raw, u"", IDC_PROGRAM_ARGUMENTS},
    {u"MinimizeWithStart", SettingKind::Boolean, u"true", IDC_MINIMIZE_AT_START},
    {u"CloseWithEnd", SettingKind::Boolean, u"true", IDC_CLOSE_AT_END},
};

namespace {

void writeDefault(CConfigData& settings, const Setting& s) {
  switch (s.kind) {
    case SettingKind::Number:
      settings.setNumber(s.key, String(s.defaultValue).toInt());
      break;
    case SettingKind::Boolean:
      settings.setBool(s.key, String(s.defaultValue) == String(u"true"));
      break;
    case SettingKind::Text:
      settings.setString(s.key, s.defaultValue);
      break;
    case SettingKind::Raw:
      settings.setRaw(s.key, s.defaultValue);
      break;
  }
}

// Reads the key through the getter of its type, which throws where the value does not fit it.
void readThroughGetter(const CConfigData& settings, const Setting& s) {
  switch (s.kind) {
    case SettingKind::Number:
      settings.getNumber(s.key);
      break;
    case SettingKind::Boolean:
      settings.getBool(s.key);
      break;
    case SettingKind::Text:
      settings.getString(s.key);
      break;
    case SettingKind::Raw:
      settings.getRaw(s.key);
      break;
  }
}

}  // namespace

void writeDefaults(CConfigData& settings) {
  for (const Setting& s : kSettings) writeDefault(settings, s);
}

String defaultMalformedSettings(CConfigData& settings) {
  String first;
  for (const Setting& s : kSettings) {
    try {
      readThroughGetter(settings, s);
    } catch (const Ostra::RuntimeException& e) {
      if (first.empty()) first = e.message();
      writeDefault(settings, s);
    }
  }
  // The ringing's options, which are in a file only when set.
  const String option = removeMalformedAlarmOptions(settings);
  if (first.empty()) first = option;
  return first;
}

void controlsToSettings(ISettingsControls& controls, CConfigData& settings) {
  for (const Setting& s : kSettings) {
    switch (s.kind) {
      case SettingKind::Number:
        settings.setNumber(s.key, controls.number(s.controlId));
        break;
      case SettingKind::Boolean:
        settings.setBool(s.key, controls.isChecked(s.controlId));
        break;
      case SettingKind::Text:
        settings.setString(s.key, controls.text(s.controlId));
        break;
      case SettingKind::Raw:
        settings.setRaw(s.key, controls.text(s.controlId));
        break;
    }
  }
}

void settingsToControls(const CConfigData& settings, ISettingsControls& controls) {
  for (const Setting& s : kSettings) {
    switch (s.kind) {
      case SettingKind::Number:
        controls.setText(s.controlId, String::fromInt(settings.getNumber(s.key)));
        break;
      case SettingKind::Boolean:
        controls.setChecked(s.controlId, settings.getBool(s.key));
        break;
      case SettingKind::Text:
        controls.setText(s.controlId, settings.getString(s.key));
        break;
      case SettingKind::Raw:
        controls.setText(s.controlId, settings.getRaw(s.key));
        break;
    }
  }
  // A zero hour, minute or second reads better as an empty field.
  for (int id : {IDC_HOURS, IDC_MINUTES, IDC_SECONDS}) {
    if (controls.text(id) == String(u"0")) controls.setText(id, String());
  }
}

bool readAlwaysOnTop(const CConfigData& settings) { return holdsExactlyTrue(settings, kAlwaysOnTopKey); }

void writeAlwaysOnTop(CConfigData& settings, bool on) {
  if (on) {
    settings.setRaw(kAlwaysOnTopKey, u"true");
  } else {
    settings.remove(kAlwaysOnTopKey);
  }
}

String templateFolder() { return Ostra::resolveFromExecutable(u"./template/"); }

String programToLaunch(const String& named) { return Ostra::findProgram(Ostra::resolvePath(named, String())); }

String soundToPlay(const String& named) { return Ostra::resolveFromExecutable(named); }

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

StartupFailures loadStartupSettings(CConfigData& settings, const String& startupFile, String* loadedTemplate,
                                    StartupName naming) {
  StartupFailures failures;
  writeDefaults(settings);
  // Only a first start creates the file: one that is there but cannot be read
  // now (held by another program, locked, too large) keeps the user's settings.
  switch (settings.readDefault()) {
    case Ostra::LoadResult::Loaded:
      // A typo in one line costs that setting, not the others.
      failures.malformedDefault = defaultMalformedSettings(settings);
      break;
    case Ostra::LoadResult::Missing:
      settings.saveDefault();
      break;
    case Ostra::LoadResult::Failed:
      failures.defaultFile = Ostra::defaultConfigPath();
      break;
  }
  if (startupFile.empty()) return failures;
  // A listed file's name is no text to expand: "%WINDIR%.tpt" is that file.
  const String path = naming == StartupName::Literal ? Ostra::resolveLiteralPath(startupFile, templateFolder())
                                                     : Ostra::resolvePath(startupFile, templateFolder());
  // Over a copy: a malformed template changes nothing, as one that cannot be read.
  CConfigData withTemplate = settings;
  const Ostra::LoadResult asNamed = withTemplate.read(path);
  const String withExtension = Ostra::changeExtension(path, u"tpt");
  const Ostra::LoadResult second = asNamed == Ostra::LoadResult::Loaded ? asNamed : withTemplate.read(withExtension);
  if (second == Ostra::LoadResult::Loaded) {
    failures.malformedStartup = defaultMalformedSettings(withTemplate);
    if (!failures.malformedStartup.empty()) return failures;
    settings = std::move(withTemplate);
    if (loadedTemplate != nullptr) *loadedTemplate = asNamed == Ostra::LoadResult::Loaded ? path : withExtension;
    return failures;
  }
  // The box names a file that is there but could not be read, when one is.
  const bool onlyTheFirstIsThere = asNamed == Ostra::LoadResult::Failed && second == Ostra::LoadResult::Missing;
  failures.startupFile = onlyTheFirstIsThere ? path : withExtension;
  return failures;
}

bool launchesProgram(const CConfigData& settings) { return holdsExactlyTrue(settings, u"NotifyExe"); }

bool playsNetworkSound(const CConfigData& settings) {
  if (!holdsExactlyTrue(settings, u"NotifyWav") || !settings.contains(u"NotifyWavFile")) return false;
  try {
    return Ostra::isNetworkPath(soundToPlay(settings.getRaw(u"NotifyWavFile")));
  } catch (const std::exception&) {
    return false;
  }
}

bool launchNeedsConsent(const CConfigData& settings, const String& templatePath) {
  // The document as a whole decides: a template may name only the arguments
  // and leave the launch switched on by the default-settings file.
  if (!holdsExactlyTrue(settings, u"NotifyExe") && !playsNetworkSound(settings)) return false;
  return Ostra::isFromAnotherComputer(templatePath);
}

namespace {

bool hasExtension(const String& path, const char16_t* extension) {
  const int dot = Ostra::extensionDot(path);
  const String wanted(extension);
  return dot >= 0 && path.length() - dot == wanted.length() && path.compareAt(dot, wanted, wanted.length(), 1) == 0;
}

// What a shortcut starts, where the shell would follow it.  Not off a network
// path: reading it would reach the other computer before the user says yes.
String shortcutLines(const String& program) {
  if (Ostra::isNetworkPath(program)) return String();
  if (hasExtension(program, u".lnk")) {
    const std::optional<Ostra::ShortcutTarget> shortcut = Ostra::readShortcut(program);
    if (!shortcut) return String();
    return u"\nショートカットの先: " + shownText(shortcut->target) + u"\nショートカットの引数: " +
           shownText(shortcut->arguments);
  }
  if (hasExtension(program, u".url")) return u"\nアドレス: " + shownText(Ostra::internetShortcutAddress(program));
  return String();
}

}  // namespace

String launchConfirmationMessage(const CConfigData& settings) {
  String text = u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。";
  if (holdsExactlyTrue(settings, u"NotifyExe")) {
    const String program = programToLaunch(settings.getRaw(u"NotifyExeFile"));
    text = text + u"時間になると次のプログラムが実行されます。\n\nプログラム: " + shownText(program) +
           shortcutLines(program) + u"\n引数:\n " + shownText(settings.getRaw(u"NotifyExePrm"));
  } else {
    text = text + u"時間になると次のサウンドがネットワークから読み込まれます。\n";
  }
  if (playsNetworkSound(settings))
    text = text + u"\nサウンド: " + shownText(soundToPlay(settings.getRaw(u"NotifyWavFile")));
  return text + u"\n\n実行してもよいですか？";
}

String launchFailedMessage(const String& program) { return shownText(program) + u" を起動できませんでした"; }

String loadFailedMessage(const String& path) { return path + u" の読み込みに失敗しました"; }

String saveFailedMessage(const String& path) { return path + u" の保存に失敗しました"; }
