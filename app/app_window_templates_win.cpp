// The settings commands: save as default, save and load a template, and the
// two browse buttons, all through the one file dialog.
#include <windows.h>

#include "app/app_window_win.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "config/config_data.h"
#include "ui/wnd.h"

using Ostra::CConfigData;
using Ostra::String;

namespace {

constexpr UINT kConfirmationBox = MB_YESNO | MB_ICONWARNING | MB_SETFOREGROUND;

}  // namespace

void CAppWindow::saveAsDefault() {
  // Keys this program does not know stay in the file.
  CConfigData settings;
  // A file that is there but cannot be read now would lose those keys: it is
  // left as it is.
  if (settings.readDefault() == Ostra::LoadResult::Failed) {
    reportLoadFailure(window->handle(), Ostra::defaultConfigPath());
    return;
  }
  takeSettings(settings);
  if (!settings.saveDefault()) reportSaveFailure(Ostra::defaultConfigPath());
}

void CAppWindow::saveTemplate() {
  prepareTemplateDialog(u"テンプレートとして保存");
  // Read while the controls exist: the countdown can end, and close the dialog,
  // while the Save dialog is open, and the file still gets what the user saw.
  CConfigData settings;
  takeSettings(settings);
  if (!fileDialog.showSave()) return;
  const String path = fileDialog.results().front();
  if (!settings.save(path)) reportSaveFailure(path);
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
  // What is on the screen stays when the file cannot be read.
  if (!settings.load(path)) {
    reportLoadFailure(window->handle(), path);
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
  // Not from a file whose copy stopped at a malformed value.
  setAlwaysOnTop(readAlwaysOnTop(settings));
}

void CAppWindow::takeSettings(CConfigData& settings) {
  controlsToSettings(*this, settings);
  writeAlwaysOnTop(settings, alwaysOnTop);
}

CAppWindow::StartupLoad CAppWindow::loadStartup(CConfigData& settings, const String& file) {
  String loadedTemplate;
  const StartupFailures failed = loadStartupSettings(settings, file, &loadedTemplate);
  // The default-settings file alone: the defaults stand in for it and the template still loads.
  if (!failed.defaultFile.empty()) reportLoadFailure(nullptr, failed.defaultFile);
  if (!failed.startupFile.empty()) {
    reportLoadFailure(nullptr, failed.startupFile);
    return StartupLoad::Failed;
  }
  // Not shown, or hidden in the tray: the question stands on its own, like the failure above.
  if (loadedTemplate.empty() || confirmTemplateLaunch(nullptr, loadedTemplate, settings)) return StartupLoad::Ready;
  return StartupLoad::Declined;
}

bool CAppWindow::confirmTemplateLaunch(HWND owner, const String& path, CConfigData& settings) {
  if (!launchNeedsConsent(settings, path)) return true;
  if (Ostra::CWnd(owner).messageBox(kConfirmationBox, u"確認", launchConfirmationMessage(settings)) == IDYES)
    return true;
  // No, or no box at all: the rest of the template still loads.
  settings.setBool(u"NotifyExe", false);
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

void CAppWindow::reportLoadFailure(HWND owner, const String& path) {
  Ostra::CWnd(owner).messageBox(InformationBox, u"エラー", loadFailedMessage(path));
}
