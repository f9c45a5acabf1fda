#include "app/settings_files_win.h"

#include "app/failure_messages.h"
#include "app/information_box_win.h"
#include "app/launch_question.h"
#include "app/notification_files.h"
#include "app/settings.h"
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

CSettingsFiles::CSettingsFiles(Ostra::CWindow& window, ISettingsDialog& dialog) : window_(window), dialog_(dialog) {}

void CSettingsFiles::create(HWND dialog) { fileDialog_.setOwner(dialog); }

CSettingsFiles::FileWork::FileWork(CSettingsFiles& owner, Input input)
    : owner_(owner),
      reenable_(input == InputOff && owner.window_.handle() != nullptr &&
                EnableWindow(owner.window_.handle(), FALSE) == 0) {
  ++owner_.fileWork_;
}

CSettingsFiles::FileWork::~FileWork() {
  --owner_.fileWork_;
  // Only what this scope disabled: a box may own the dialog meanwhile.
  if (reenable_ && owner_.window_.handle() != nullptr) EnableWindow(owner_.window_.handle(), TRUE);
}

void CSettingsFiles::saveAsDefault() {
  // Keys this program does not know stay in the file.
  CConfigData settings;
  Ostra::LoadResult read;
  {
    const FileWork busy(*this);
    read = settings.readDefault();
  }
  // Ended while the lock was waited for (the countdown closed it): nothing to save from.
  if (window_.handle() == nullptr) return;
  // A file that is there but cannot be read now would lose those keys: it is
  // left as it is.
  if (read == Ostra::LoadResult::Failed) {
    reportLoadFailure(window_.handle(), Ostra::defaultConfigPath());
    return;
  }
  dialog_.takeSettings(settings);
  bool saved;
  {
    const FileWork busy(*this);
    saved = settings.saveDefault();
  }
  if (!saved && window_.handle() != nullptr) reportSaveFailure(Ostra::defaultConfigPath());
}

void CSettingsFiles::saveTemplate() {
  prepareTemplateDialog(u"テンプレートとして保存");
  // Read while the controls exist: the countdown can end, and close the dialog,
  // while the Save dialog is open, and the file still gets what the user saw.
  CConfigData settings;
  dialog_.takeSettings(settings);
  if (!fileDialog_.showSave()) return;
  const String path = fileDialog_.results().front();
  bool saved;
  {
    const FileWork busy(*this);
    saved = settings.save(path);
  }
  if (!saved && window_.handle() != nullptr) reportSaveFailure(path);
}

void CSettingsFiles::loadTemplate() {
  prepareTemplateDialog(u"テンプレートを読み込み");
  if (!fileDialog_.showOpen()) return;
  // The dialog ended while the file dialog was open: nothing is left to show it in.
  if (window_.handle() == nullptr) return;
  // Keys missing from the template take their defaults, not what was shown.
  CConfigData settings;
  writeDefaults(settings);
  const String path = fileDialog_.results().front();
  bool loaded;
  {
    const FileWork busy(*this);
    loaded = settings.load(path);
  }
  if (window_.handle() == nullptr) return;
  // What is on the screen stays when the file cannot be read, or holds a malformed value.
  if (!loaded) {
    reportLoadFailure(window_.handle(), path);
    return;
  }
  const String malformed = defaultMalformedSettings(settings);
  if (!malformed.empty()) {
    reportMalformed(malformed);
    return;
  }
  confirmTemplateLaunch(window_.handle(), path, settings);
  // Ended while the question was open, as above.
  if (window_.handle() == nullptr) return;
  dialog_.showSettings(settings);
  dialog_.updateControlStates();
}

CSettingsFiles::StartupLoad CSettingsFiles::loadStartup(CConfigData& settings, const String& file, StartupName naming) {
  String loadedTemplate;
  StartupFailures failed;
  {
    const FileWork busy(*this);
    failed = loadStartupSettings(settings, file, &loadedTemplate, naming);
  }
  // The boxes below come before the dialog, however long the files took.
  window_.killTimer(ShowWhileLoadingTimer);
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

bool CSettingsFiles::confirmTemplateLaunch(HWND owner, const String& path, CConfigData& settings) {
  // For the zone manager and the shortcut reader.
  dialog_.enterComApartment();
  if (!launchNeedsConsent(settings, path)) return true;
  const bool networkSound = playsNetworkSound(settings);
  if (launchesProgram(settings)) {
    // A name the shell would refuse fails now, as the launch would, instead of being asked about.
    const String program = programToLaunch(settings.getRaw(u"NotifyExeFile"));
    if (program.length() > Ostra::kMaxShellFileLength) {
      Ostra::CWnd(owner).messageBox(kInformationBox, u"エラー", launchFailedMessage(program));
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

void CSettingsFiles::prepareTemplateDialog(const String& title) {
  const String folder = templateFolder();
  Ostra::createDirectories(folder);
  dialog_.enterComApartment();
  fileDialog_.setTitle(title);
  fileDialog_.clearFilters();
  fileDialog_.addFilter(u"Template File", u"*.tpt");
  fileDialog_.setInitialDirectory(folder);
  fileDialog_.setDefaultExtension(u"tpt");
  fileDialog_.setFileName(String());
}

void CSettingsFiles::browse(int editId, const String& title, const String& filterName, const String& patterns,
                            const String& defaultExtension) {
  dialog_.enterComApartment();
  fileDialog_.setTitle(title);
  fileDialog_.clearFilters();
  fileDialog_.addFilter(filterName, patterns);
  fileDialog_.addFilter(u"All Files", u"*.*");
  const String path = Ostra::resolveFromExecutable(window_.item(editId).getText());
  fileDialog_.setInitialDirectory(Ostra::directoryPart(path));
  fileDialog_.setDefaultExtension(defaultExtension);
  fileDialog_.setFileName(Ostra::stem(path));
  // Not when the dialog ended meanwhile (the countdown closed it, or the session ended).
  if (fileDialog_.showOpen() && window_.handle() != nullptr)
    window_.item(editId).setText(fileDialog_.results().front());
}

void CSettingsFiles::reportSaveFailure(const String& path) {
  window_.messageBox(kInformationBox, u"エラー", saveFailedMessage(path));
}

void CSettingsFiles::reportMalformed(const String& message) {
  // The box a value that stopped the copy into the controls used to bring.
  Ostra::showErrorBox(message, window_, u"エラー (3)");
}

void CSettingsFiles::reportLoadFailure(HWND owner, const String& path) {
  Ostra::CWnd(owner).messageBox(kInformationBox, u"エラー", loadFailedMessage(path));
}
