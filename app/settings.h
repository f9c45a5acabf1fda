#pragma once

#include "base/string.h"
#include "config/config_data.h"

// The fourteen settings of the dialog: their keys, types, defaults and
// controls, and the copies between a settings document and the controls.

enum class SettingKind { Number, Boolean, Text, Raw };

struct Setting {
  const char16_t* key;
  SettingKind kind;
  const char16_t* defaultValue;  // numbers in decimal, booleans "true"/"false"
  int controlId;
};

// In the order every operation handles them.
extern const Setting kSettings[14];
// The window's "常に手前に表示", a setting of the window's own: in a file only
// as "true" while it is on, so files written with it off stay as they were
// without it.
constexpr char16_t kAlwaysOnTopKey[] = u"AlwaysOnTop";
// On only where its key holds exactly "true".
bool readAlwaysOnTop(const Ostra::CConfigData& settings);
// The key "true" while on, and removed while off.
void writeAlwaysOnTop(Ostra::CConfigData& settings, bool on);

// The dialog's controls as the settings see them.
class ISettingsControls {
 public:
  virtual ~ISettingsControls() = default;
  virtual Ostra::String text(int controlId) = 0;
  virtual void setText(int controlId, const Ostra::String& text) = 0;
  virtual int number(int controlId) = 0;  // the text's leading digits, 0 when none
  virtual bool isChecked(int controlId) = 0;
  virtual void setChecked(int controlId, bool checked) = 0;
};

// Every key with its default, through the typed setter of its type.
void writeDefaults(Ostra::CConfigData& settings);
// Gives each key whose value does not fit its type (an empty number, a
// boolean other than "true" or "false") its default, the others staying as
// they are; the first such key's error text, empty when every key reads.
Ostra::String defaultMalformedSettings(Ostra::CConfigData& settings);
// Every control's value into its key.
void controlsToSettings(ISettingsControls& controls, Ostra::CConfigData& settings);
// Every key's value into its control, in order; a zero time field is shown
// empty.  A malformed value throws at its key, leaving the later controls as
// they were.
void settingsToControls(const Ostra::CConfigData& settings, ISettingsControls& controls);

// True when the key is there and holds exactly "true": the switches that
// nothing else turns on (no default stands in for a missing key).
bool holdsExactlyTrue(const Ostra::CConfigData& settings, const Ostra::String& key);
