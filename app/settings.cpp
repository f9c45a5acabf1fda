#include "app/settings.h"

#include <algorithm>
#include <exception>

#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
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

void writeDefaults(CConfigData& settings) {
  for (const Setting& s : kSettings) {
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

String programToLaunch(const String& named) { return Ostra::resolvePath(named, String()); }

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

StartupFailures loadStartupSettings(CConfigData& settings, const String& startupFile, String* loadedTemplate) {
  StartupFailures failures;
  writeDefaults(settings);
  // Only a first start creates the file: one that is there but cannot be read
  // now (held by another program, locked, too large) keeps the user's settings.
  switch (settings.readDefault()) {
    case Ostra::LoadResult::Loaded:
      break;
    case Ostra::LoadResult::Missing:
      settings.saveDefault();
      break;
    case Ostra::LoadResult::Failed:
      failures.defaultFile = Ostra::defaultConfigPath();
      break;
  }
  if (startupFile.empty()) return failures;
  const String path = Ostra::resolvePath(startupFile, templateFolder());
  const Ostra::LoadResult asNamed = settings.read(path);
  const String withExtension = Ostra::changeExtension(path, u"tpt");
  const Ostra::LoadResult second = asNamed == Ostra::LoadResult::Loaded ? asNamed : settings.read(withExtension);
  if (second == Ostra::LoadResult::Loaded) {
    if (loadedTemplate != nullptr) *loadedTemplate = asNamed == Ostra::LoadResult::Loaded ? path : withExtension;
    return failures;
  }
  // The box names a file that is there but could not be read, when one is.
  const bool onlyTheFirstIsThere = asNamed == Ostra::LoadResult::Failed && second == Ostra::LoadResult::Missing;
  failures.startupFile = onlyTheFirstIsThere ? path : withExtension;
  return failures;
}

bool launchNeedsConsent(const CConfigData& settings, const String& templatePath) {
  // The document as a whole decides: a template may name only the arguments
  // and leave the launch switched on by the default-settings file.
  return holdsExactlyTrue(settings, u"NotifyExe") && Ostra::isFromAnotherComputer(templatePath);
}

String launchConfirmationMessage(const CConfigData& settings) {
  const String program = programToLaunch(settings.getRaw(u"NotifyExeFile"));
  return u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。"
         u"時間になると次のプログラムが実行されます。\n\nプログラム: " +
         program + u"\n引数:\n " + settings.getRaw(u"NotifyExePrm") + u"\n\n実行してもよいですか？";
}

String loadFailedMessage(const String& path) { return path + u" の読み込みに失敗しました"; }

String saveFailedMessage(const String& path) { return path + u" の保存に失敗しました"; }
