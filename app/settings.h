#pragma once

#include <cstddef>
#include <vector>

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

// The folder "template" beside the program, with its trailing separator.
Ostra::String templateFolder();

// The program the expiry launches for the name in its edit or in the
// "NotifyExeFile" key: its references expanded (resolvePath with no base),
// then found as the shell finds it (findProgram), so that the question shows
// the file that runs (Win32Exception when the expansion fails).
Ostra::String programToLaunch(const Ostra::String& named);
// The sound file the expiry plays for the name in its edit or in the
// "NotifyWavFile" key: resolveFromExecutable (Win32Exception when the
// expansion fails).
Ostra::String soundToPlay(const Ostra::String& named);

// What the start-up could not read; each empty when nothing went wrong.
struct StartupFailures {
  Ostra::String defaultFile;  // the default-settings file, there but unreadable
  Ostra::String startupFile;  // the last name tried for the start-up file
  // The error texts of the first malformed key: of the default-settings file
  // (that key has its default), of the start-up file (not applied at all).
  Ostra::String malformedDefault;
  Ostra::String malformedStartup;
};

// The templates the tray's menu offers: the names of the folder's "*.tpt"
// files without the extension, sorted, at most limit; none when the folder
// cannot be read.
std::vector<Ostra::String> templateMenuNames(const Ostra::String& folder, size_t limit);

// How long the settings count, as the template menu shows it: "4分",
// "1時間30分", "45秒", "0秒"; in time-of-day mode the time, "14:30" (with
// ":05" when the seconds are not 0).  Throws where a key is malformed.
Ostra::String durationText(const Ostra::CConfigData& settings);
// The template menu's item texts for the named templates of folder: each name,
// cut to 40 characters with "…" when longer, then a tab and the duration it
// would count, read as its start reads it (over the defaults and the
// default-settings file); no tab nor duration for a file that cannot be read
// or holds a malformed value.
std::vector<Ostra::String> templateMenuTexts(const Ostra::String& folder, const std::vector<Ostra::String>& names);
// How a start-up file is named: typed by the user (its %NAME% references
// expanded), or a file name as the folder lists it (taken literally).
enum class StartupName { Typed, Literal };

// Start-up settings: the defaults, then the default-settings file (created
// with the defaults only when it does not exist; one that is there but cannot
// be read leaves the defaults and is not written; its malformed keys keep
// their defaults), then the start-up file when one is named: first as given
// (relative to the template folder), then, when it is not loaded so, with the
// extension "tpt"; a malformed one is left out as a whole.  loadedTemplate, when given,
// is set to the path the start-up file was loaded from (and left alone when
// none was).
StartupFailures loadStartupSettings(Ostra::CConfigData& settings, const Ostra::String& startupFile,
                                    Ostra::String* loadedTemplate = nullptr, StartupName naming = StartupName::Typed);

// True when settings read from the template at path would launch a program or
// play a sound from another computer (a network path), and the file came from
// another computer (isFromAnotherComputer): the user is asked first.  Not for
// a malformed NotifyExe, which the copy into the controls stops at, before
// the program's keys.
bool launchNeedsConsent(const Ostra::CConfigData& settings, const Ostra::String& templatePath);
// True when the settings play a sound from a network path (a failed
// expansion plays nothing).
bool playsNetworkSound(const Ostra::CConfigData& settings);
// True when NotifyExe holds exactly "true".
bool launchesProgram(const Ostra::CConfigData& settings);
// The question before such a launch: the program as the launch resolves it
// (Win32Exception when its expansion fails), a shortcut's target and
// arguments, an internet shortcut's address, the arguments, and a network
// sound; every value through shownText.  Reads a shortcut only off the network.
Ostra::String launchConfirmationMessage(const Ostra::CConfigData& settings);

// The box text of a launch that failed, or that the shell would refuse.
Ostra::String launchFailedMessage(const Ostra::String& program);
// The box texts of the file operations.
Ostra::String loadFailedMessage(const Ostra::String& path);
Ostra::String saveFailedMessage(const Ostra::String& path);
