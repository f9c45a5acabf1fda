#include "app/settings.h"

#include "app/alarm_options.h"
#include "app/hotkey.h"
#include "base/exception.h"
#include "resources/resource.h"

using Ostra::CConfigData;
using Ostra::String;

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

// Each kind's value as its default text, its key (through the typed getter,
// which throws where the value does not fit) and its control hold it.
struct NumberKind {
  static int fromDefault(const char16_t* text) { return String(text).toInt(); }
  static int get(const CConfigData& settings, const char16_t* key) { return settings.getNumber(key); }
  static void set(CConfigData& settings, const char16_t* key, int value) { settings.setNumber(key, value); }
  static int fromControl(ISettingsControls& controls, int id) { return controls.number(id); }
  static void toControl(ISettingsControls& controls, int id, int value) {
    controls.setText(id, String::fromInt(value));
  }
};

struct BooleanKind {
  static bool fromDefault(const char16_t* text) { return String(text) == String(u"true"); }
  static bool get(const CConfigData& settings, const char16_t* key) { return settings.getBool(key); }
  static void set(CConfigData& settings, const char16_t* key, bool value) { settings.setBool(key, value); }
  static bool fromControl(ISettingsControls& controls, int id) { return controls.isChecked(id); }
  static void toControl(ISettingsControls& controls, int id, bool value) { controls.setChecked(id, value); }
};

// A text stored escaped, so that line breaks in a message survive the file.
struct TextKind {
  static String fromDefault(const char16_t* text) { return text; }
  static String get(const CConfigData& settings, const char16_t* key) { return settings.getString(key); }
  static void set(CConfigData& settings, const char16_t* key, const String& value) { settings.setString(key, value); }
  static String fromControl(ISettingsControls& controls, int id) { return controls.text(id); }
  static void toControl(ISettingsControls& controls, int id, const String& value) { controls.setText(id, value); }
};

// A path or a command line stored as typed: its backslashes are no escapes.
struct RawKind : TextKind {
  static String get(const CConfigData& settings, const char16_t* key) { return settings.getRaw(key); }
  static void set(CConfigData& settings, const char16_t* key, const String& value) { settings.setRaw(key, value); }
};

// Calls operation with the kind of s: the one place that tells the kinds apart.
template <typename Operation>
void withKind(const Setting& s, Operation&& operation) {
  switch (s.kind) {
    case SettingKind::Number:
      operation(NumberKind{});
      break;
    case SettingKind::Boolean:
      operation(BooleanKind{});
      break;
    case SettingKind::Text:
      operation(TextKind{});
      break;
    case SettingKind::Raw:
      operation(RawKind{});
      break;
  }
}

void writeDefault(CConfigData& settings, const Setting& s) {
  withKind(s, [&](auto kind) { kind.set(settings, s.key, kind.fromDefault(s.defaultValue)); });
}

}  // namespace

bool holdsExactlyTrue(const CConfigData& settings, const String& key) {
  return settings.contains(key) && settings.getRaw(key) == String(u"true");
}

void writeDefaults(CConfigData& settings) {
  for (const Setting& s : kSettings) writeDefault(settings, s);
}

String defaultMalformedSettings(CConfigData& settings) {
  String first;
  for (const Setting& s : kSettings) {
    try {
      withKind(s, [&](auto kind) { kind.get(settings, s.key); });
    } catch (const Ostra::RuntimeException& e) {
      if (first.empty()) first = e.message();
      writeDefault(settings, s);
    }
  }
  // The ringing's options, which are in a file only when set.
  const String option = removeMalformedAlarmOptions(settings);
  if (first.empty()) first = option;
  const String hotkey = removeMalformedHotkey(settings);
  if (first.empty()) first = hotkey;
  return first;
}

void controlsToSettings(ISettingsControls& controls, CConfigData& settings) {
  for (const Setting& s : kSettings) {
    withKind(s, [&](auto kind) { kind.set(settings, s.key, kind.fromControl(controls, s.controlId)); });
  }
}

void settingsToControls(const CConfigData& settings, ISettingsControls& controls) {
  for (const Setting& s : kSettings) {
    withKind(s, [&](auto kind) { kind.toControl(controls, s.controlId, kind.get(settings, s.key)); });
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
