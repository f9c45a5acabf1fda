#include "app/settings.h"

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
      readThroughGetter(settings, s);
    } catch (const Ostra::RuntimeException& e) {
      if (first.empty()) first = e.message();
      writeDefault(settings, s);
    }
  }
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
  if (controls.isChecked(IDM_ALWAYS_ON_TOP)) {
    settings.setRaw(kAlwaysOnTopKey, u"true");
  } else {
    settings.remove(kAlwaysOnTopKey);
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
  controls.setChecked(IDM_ALWAYS_ON_TOP, holdsExactlyTrue(settings, kAlwaysOnTopKey));
}
