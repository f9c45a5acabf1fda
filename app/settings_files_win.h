#pragma once

#include <windows.h>

#include "app/startup_load.h"
#include "base/string.h"
#include "config/config_data.h"
#include "ui/file_select_dialog.h"
#include "ui/window.h"

// The dialog as its settings files' commands see it.
class ISettingsDialog {
 public:
  virtual ~ISettingsDialog() = default;
  // The settings into the controls and the window's own, and back.
  virtual void showSettings(const Ostra::CConfigData& settings) = 0;
  virtual void takeSettings(Ostra::CConfigData& settings) = 0;
  virtual void updateControlStates() = 0;
  // COM on the dialog's thread, for the file dialog and the shell's calls.
  virtual void enterComApartment() = 0;
};

// The timer dialog's settings files: save as default, save and load a
// template, the start-up load and the two browse buttons, all through the
// one file dialog, with their boxes.  Use on the dialog's thread only.
class CSettingsFiles {
 public:
  // Shows the dialog when its start-up load waits long for a lock.
  static constexpr unsigned ShowWhileLoadingTimer = 101;
  static constexpr unsigned ShowWhileLoadingMilliseconds = 1000;

  CSettingsFiles(Ostra::CWindow& window, ISettingsDialog& dialog);
  CSettingsFiles(const CSettingsFiles&) = delete;
  CSettingsFiles& operator=(const CSettingsFiles&) = delete;

  // At WM_INITDIALOG: the file dialog's owner.
  void create(HWND dialog);

  // While a settings file is read or written its lock may be waited for, and
  // the dialog's messages go on meanwhile (it paints, its countdown runs): it
  // takes no input then, nor does the tray's menu open, so no other command
  // starts in the middle of this one.
  class FileWork {
   public:
    // InputOn for a short read that must only keep a second one out: a
    // dialog disabled while its tray menu opens loses the foreground the
    // menu needs.
    enum Input { InputOff, InputOn };
    explicit FileWork(CSettingsFiles& owner, Input input = InputOff);
    ~FileWork();
    FileWork(const FileWork&) = delete;
    FileWork& operator=(const FileWork&) = delete;

   private:
    CSettingsFiles& owner_;
    const bool reenable_;
  };
  // True while a FileWork is under way.
  bool busy() const { return fileWork_ > 0; }

  void saveAsDefault();
  void saveTemplate();
  void loadTemplate();
  // The start-up settings of a template as the command line names it.  A
  // file that cannot be loaded is reported in a box (Failed), and so is a
  // default-settings file that is there but unreadable (the load goes on
  // without it); one that asks and is refused has its launch switched off and
  // does not start (Declined).  A malformed default-settings file is reported
  // and loads with defaults for its malformed keys; a malformed template is
  // reported and loads not at all (Failed).
  enum class StartupLoad { Ready, Failed, Declined };
  StartupLoad loadStartup(Ostra::CConfigData& settings, const Ostra::String& file,
                          StartupName naming = StartupName::Typed);
  // A file chosen for the edit control editId, the dialog starting from the file it names.
  void browse(int editId, const Ostra::String& title, const Ostra::String& filterName, const Ostra::String& patterns,
              const Ostra::String& defaultExtension);

 private:
  void prepareTemplateDialog(const Ostra::String& title);
  // Every template load passes through here before its settings reach the
  // controls: a template from another computer that would launch a program
  // asks the user first (a box owned by owner, none when null); on No its
  // launch is switched off in settings.  False when the user said No.
  bool confirmTemplateLaunch(HWND owner, const Ostra::String& path, Ostra::CConfigData& settings);
  void reportSaveFailure(const Ostra::String& path);
  // A malformed value's error text, in the box of the dialog's error reporter.
  void reportMalformed(const Ostra::String& message);
  // The load-failure box, owned by owner (none at start-up).
  void reportLoadFailure(HWND owner, const Ostra::String& path);

  Ostra::CWindow& window_;
  ISettingsDialog& dialog_;
  Ostra::CFileSelectDialog fileDialog_;
  int fileWork_ = 0;
};
