// The settings commands: save as default, save and load a template, and the
// two browse buttons, all through the one file dialog.
#include <windows.h>

#include "app/app_window_win.h"
#include "app/failure_messages.h"
#include "app/launch_question.h"
#include "app/notification_files.h"
#include "app/template_list.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "config/config_data.h"
#include "ui/error_box.h"
#include "ui/wnd.h"

using Ostra::CConfigData;
using Ostra::String;

namespace {

// No is the default: an Enter or a Space meant for another program must not say yes.
constexpr UINT kConfirmationBox = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND;

}  // namespace

CAppWindow::FileWork::FileWork(CAppWindow& owner, Input input)
    : owner_(owner),
      reenable_(input == InputOff && owner.window->handle() != nullptr &&
                EnableWindow(owner.window->handle(), FALSE) == 0) {
  ++owner_.fileWork;
}

CAppWindow::FileWork::~FileWork() {
  --owner_.fileWork;
  // Only what this scope disabled: a box may own the dialog meanwhile.
  if (reenable_ && owner_.window->handle() != nullptr) EnableWindow(owner_.window->handle(), TRUE);
}

void CAppWindow::saveAsDefault() {
  // Keys this program does not know stay in the file.
  CConfigData settings;
  Ostra::LoadResult read;
  {
    const FileWork busy(*this);
    read = settings.readDefault();
  }
  // Ended while the lock was waited for (the countdown closed it): nothing to save from.
  if (window->handle() == nullptr) return;
  // A file that is there but cannot be read now would lose those keys: it is
  // left as it is.
  if (read == Ostra::LoadResult::Failed) {
    reportLoadFailure(window->handle(), Ostra::defaultConfigPath());
    return;
  }
  takeSettings(settings);
  bool saved;
  {
    const FileWork busy(*this);
    saved = settings.saveDefault();
  }
  if (!saved && window->handle() != nullptr) reportSaveFailure(Ostra::defaultConfigPath());
}

void CAppWindow::saveTemplate() {
  prepareTemplateDialog(u"テンプレートとして保存");
  // Read while the controls exist: the countdown can end, and close the dialog,
  // while the Save dialog is open, and the file still gets what the user saw.
  CConfigData settings;
  takeSettings(settings);
  if (!fileDialog.showSave()) return;
  const String path = fileDialog.results().front();
  bool saved;
  {
    const FileWork busy(*this);
    saved = settings.save(path);
  }
  if (!saved && window->handle() != nullptr) reportSaveFailure(path);
}

void CAppWindow::loadTemplate() {
  prepareTemplateDialog(u"テンプレートを読み込み");
  if (!fileDialog.showOpen()) return;
  // The dialog ended while the file dialog was open: nothing is left to show it in.
  if (window->handle() == nullptr) return;
  // Keys missing from the template take their defaults, not what was shown.
  CConfigData settings;
  writeDefaults(settings);
  const String path = fileDialog.results().front();
  bool loaded;
  {
    const FileWork busy(*this);
    loaded = settings.load(path);
  }
  if (window->handle() == nullptr) return;
  // What is on the screen stays when the file cannot be read, or holds a malformed value.
  if (!loaded) {
    reportLoadFailure(window->handle(), path);
    return;
  }
  const String malformed = defaultMalformedSettings(settings);
  if (!malformed.empty()) {
    reportMalformed(malformed);
    return;
  }
  confirmTemplateLaunch(window->handle(), path, settings);
  // Ended while the question was open, as above.
  if (window->handle() == nullptr) return;
  showSettings(settings);
  updateControlStates();
}

void CAppWindow::showSettings(const CConfigData& settings) {
  settingsToControls(settings, *this);
  options = readAlarmOptions(settings);
  setAlwaysOnTop(readAlwaysOnTop(settings));
  // The program's, not a timer's: a template without the key leaves it as it is.
  if (settings.contains(kHotkeyKey)) hotkey = readHotkey(settings);
  // Refused (taken by another program, or by another copy sharing this
  // default-settings file): nothing is said until the person sets it in 詳細設定.
  if (globalHotkey) globalHotkey->change(hotkey);
}

void CAppWindow::takeSettings(CConfigData& settings) {
  controlsToSettings(*this, settings);
  writeAlwaysOnTop(settings, alwaysOnTop);
  writeAlarmOptions(settings, options);
  writeHotkey(settings, hotkey);
}

CAppWindow::StartupLoad CAppWindow::loadStartup(CConfigData& settings, const String& file, StartupName naming) {
  String loadedTemplate;
  StartupFailures failed;
  {
    const FileWork busy(*this);
    failed = loadStartupSettings(settings, file, &loadedTemplate, naming);
  }
  // The boxes below come before the dialog, however long the files took.
  window->killTimer(ShowWhileLoadingTimer);
  // The default-settings file alone: the defaults stand in for it and the template still loads.
  if (!failed.defaultFile.empty()) reportLoadFailure(nullptr, failed.defaultFile);
  if (!failed.malformedDefault.empty()) reportMalformed(failed.malformedDefault);
  if (!failed.startupFile.empty()) {
    reportLoadFailure(nullptr, failed.startupFile);
    return StartupLoad::Failed;
  }
  if (!failed.malformedStartup.empty()) {
    reportMalformed(failed.malformedStartup);
    return StartupLoad::Failed;
  }
  // Not shown, or hidden in the tray: the question stands on its own, like the failure above.
  if (loadedTemplate.empty() || confirmTemplateLaunch(nullptr, loadedTemplate, settings)) return StartupLoad::Ready;
  return StartupLoad::Declined;
}

bool CAppWindow::confirmTemplateLaunch(HWND owner, const String& path, CConfigData& settings) {
  // For the zone manager and the shortcut reader.
  enterComApartment();
  if (!launchNeedsConsent(settings, path)) return true;
  const bool networkSound = playsNetworkSound(settings);
  if (launchesProgram(settings)) {
    // A name the shell would refuse fails now, as the launch would, instead of being asked about.
    const String program = programToLaunch(settings.getRaw(u"NotifyExeFile"));
    if (program.length() > Ostra::kMaxShellFileLength) {
      Ostra::CWnd(owner).messageBox(InformationBox, u"エラー", launchFailedMessage(program));
      settings.setBool(u"NotifyExe", false);
      if (!networkSound) return false;
    }
  }
  if (Ostra::CWnd(owner).messageBox(kConfirmationBox, u"確認", launchConfirmationMessage(settings)) == IDYES)
    return true;
  // No, or no box at all: the rest of the template still loads, and nothing
  // reaches the other computer.
  settings.setBool(u"NotifyExe", false);
  if (networkSound) settings.setBool(u"NotifyWav", false);
  return false;
}

void CAppWindow::prepareTemplateDialog(const String& title) {
  const String folder = templateFolder();
  Ostra::createDirectories(folder);
  enterComApartment();
  fileDialog.setTitle(title);
  fileDialog.clearFilters();
  fileDialog.addFilter(u"Template File", u"*.tpt");
  fileDialog.setInitialDirectory(folder);
  fileDialog.setDefaultExtension(u"tpt");
  fileDialog.setFileName(String());
}

void CAppWindow::browse(int editId, const String& title, const String& filterName, const String& patterns,
                        const String& defaultExtension) {
  enterComApartment();
  fileDialog.setTitle(title);
  fileDialog.clearFilters();
  fileDialog.addFilter(filterName, patterns);
  fileDialog.addFilter(u"All Files", u"*.*");
  const String path = Ostra::resolveFromExecutable(text(editId));
  fileDialog.setInitialDirectory(Ostra::directoryPart(path));
  fileDialog.setDefaultExtension(defaultExtension);
  fileDialog.setFileName(Ostra::stem(path));
  // Not when the dialog ended meanwhile (the countdown closed it, or the session ended).
  if (fileDialog.showOpen() && window->handle() != nullptr) setText(editId, fileDialog.results().front());
}

void CAppWindow::reportSaveFailure(const String& path) {
  window->messageBox(InformationBox, u"エラー", saveFailedMessage(path));
}

void CAppWindow::reportMalformed(const String& message) {
  // The box a value that stopped the copy into the controls used to bring.
  Ostra::showErrorBox(message, *window, u"エラー (3)");
}

void CAppWindow::reportLoadFailure(HWND owner, const String& path) {
  Ostra::CWnd(owner).messageBox(InformationBox, u"エラー", loadFailedMessage(path));
}
