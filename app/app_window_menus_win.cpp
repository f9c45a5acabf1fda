// The commands beyond the dialog's buttons: pause, extend and cancel a
// countdown, start a template and keep the window on top, from the window's
// system menu and the tray icon's menu.
#include <windows.h>

#include <utility>
#include <vector>

#include "app/app_window_win.h"
#include "app/template_list.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "ui/menu.h"

using Ostra::String;

namespace {

constexpr size_t kMenuTemplates = 30;

UINT grayedUnless(bool enabled) { return enabled ? 0 : MF_GRAYED; }

String pauseText(bool paused) { return paused ? u"再開(&P)" : u"一時停止(&P)"; }

// The items both menus have, under the same texts.
constexpr char16_t kExtendShortText[] = u"1分延長(&1)";
constexpr char16_t kExtendLongText[] = u"5分延長(&5)";
constexpr char16_t kAlwaysOnTopText[] = u"常に手前に表示(&A)";

}  // namespace

bool CAppWindow::counting() const {
  return countdownState == CountdownState::Running || countdownState == CountdownState::Paused;
}

bool CAppWindow::pausable() {
  // A time of day is due when the clock says so: there is nothing to hold.
  return counting() && !isChecked(IDC_TIME_OF_DAY);
}

void CAppWindow::addSystemMenuItems() {
  const HMENU menu = GetSystemMenu(window->handle(), FALSE);
  if (menu == nullptr) return;
  Ostra::appendMenuSeparator(menu);
  Ostra::appendMenuItem(menu, IDM_PAUSE, pauseText(false));
  Ostra::appendMenuItem(menu, IDM_EXTEND_SHORT, kExtendShortText);
  Ostra::appendMenuItem(menu, IDM_EXTEND_LONG, kExtendLongText);
  Ostra::appendMenuSeparator(menu);
  Ostra::appendMenuItem(menu, IDM_ALWAYS_ON_TOP, kAlwaysOnTopText);
}

void CAppWindow::updateSystemMenu() {
  const HMENU menu = GetSystemMenu(window->handle(), FALSE);
  if (menu == nullptr) return;
  const bool paused = countdownState == CountdownState::Paused;
  Ostra::changeMenuItem(menu, IDM_PAUSE, pauseText(paused), grayedUnless(pausable()));
  Ostra::changeMenuItem(menu, IDM_EXTEND_SHORT, kExtendShortText, grayedUnless(counting()));
  Ostra::changeMenuItem(menu, IDM_EXTEND_LONG, kExtendLongText, grayedUnless(counting()));
  Ostra::changeMenuItem(menu, IDM_ALWAYS_ON_TOP, kAlwaysOnTopText, alwaysOnTop ? MF_CHECKED : 0);
}

void CAppWindow::showTrayMenu(bool atIcon) {
  if (fileWork > 0) return;
  Ostra::UniqueMenu menu(CreatePopupMenu());
  Ostra::UniqueMenu templates(CreatePopupMenu());
  if (!menu || !templates) return;
  const bool paused = countdownState == CountdownState::Paused;
  Ostra::appendMenuItem(menu.get(), IDM_SHOW, u"表示(&S)");
  SetMenuDefaultItem(menu.get(), IDM_SHOW, FALSE);
  Ostra::appendMenuItem(menu.get(), IDM_PAUSE, pauseText(paused), grayedUnless(pausable()));
  Ostra::appendMenuItem(menu.get(), IDM_EXTEND_SHORT, kExtendShortText, grayedUnless(counting()));
  Ostra::appendMenuItem(menu.get(), IDM_EXTEND_LONG, kExtendLongText, grayedUnless(counting()));
  Ostra::appendMenuItem(menu.get(), IDM_CANCEL, u"中断(&C)", grayedUnless(counting()));
  Ostra::appendMenuSeparator(menu.get());
  // One more than shown: whether the rest needs the load dialog.
  std::vector<String> names = templateMenuNames(templateFolder(), kMenuTemplates + 1);
  const bool more = names.size() > kMenuTemplates;
  if (more) names.resize(kMenuTemplates);
  std::vector<String> texts;
  {
    // Each template is read under its lock, whose wait answers messages.
    const FileWork busy(*this);
    texts = templateMenuTexts(templateFolder(), names);
  }
  if (window->handle() == nullptr) return;
  for (size_t i = 0; i < names.size(); ++i) {
    Ostra::appendMenuItem(templates.get(), static_cast<UINT>(IDM_FIRST_TEMPLATE + i), Ostra::literalMenuText(texts[i]));
  }
  if (more) Ostra::appendMenuItem(templates.get(), IDM_MORE_TEMPLATES, u"その他...(&M)");
  // Says why there is nothing to choose, where a grey parent would not.
  if (names.empty()) Ostra::appendMenuItem(templates.get(), 0, u"（テンプレートがありません）", MF_GRAYED);
  // As the load button: not while a countdown runs.
  const bool canStart = countdownState == CountdownState::Idle;
  Ostra::appendSubmenu(menu.get(), std::move(templates), u"テンプレートから開始(&T)", grayedUnless(canStart));
  Ostra::appendMenuSeparator(menu.get());
  Ostra::appendMenuItem(menu.get(), IDM_EXIT, u"終了(&X)");

  POINT at{};
  GetCursorPos(&at);
  RECT icon{};
  const bool besideIcon = atIcon && trayIcon->screenRect(icon);
  const UINT chosen = Ostra::trackTrayMenu(window->handle(), menu.get(), at, besideIcon ? &icon : nullptr);
  // The dialog may have ended while the menu was open (the countdown closed it).
  if (window->handle() == nullptr) return;
  if (chosen == 0) {
    // Esc: the keyboard goes back where it came from.  Not after a click
    // elsewhere, which gave the foreground to that window.
    if (atIcon && GetForegroundWindow() == window->handle()) trayIcon->focusNotificationArea();
    return;
  }
  if (chosen >= IDM_FIRST_TEMPLATE && chosen - IDM_FIRST_TEMPLATE < names.size()) {
    startFromTemplate(names[chosen - IDM_FIRST_TEMPLATE] + u".tpt");
    return;
  }
  runMenuCommand(chosen);
}

bool CAppWindow::runMenuCommand(unsigned id) {
  switch (id) {
    case IDM_SHOW:
      if (placement == Placement::InTray) restoreFromTray();
      return true;
    case IDM_PAUSE:
      togglePause();
      return true;
    case IDM_EXTEND_SHORT:
      extend(ShortExtensionSeconds);
      return true;
    case IDM_EXTEND_LONG:
      extend(LongExtensionSeconds);
      return true;
    case IDM_CANCEL:
      if (counting()) cancel();
      return true;
    case IDM_EXIT:
      window->close();  // as the close box
      return true;
    case IDM_ALWAYS_ON_TOP:
      setAlwaysOnTop(!alwaysOnTop);
      return true;
    case IDM_MORE_TEMPLATES:
      // The load button's dialog, over the window that shows what it loads.
      if (countdownState != CountdownState::Idle) return true;
      if (placement == Placement::InTray) restoreFromTray();
      loadTemplate();
      return true;
    default:
      return false;
  }
}

void CAppWindow::togglePause() {
  // Each menu acts on the state it showed; another may have changed it since.
  if (!pausable()) return;
  const int64_t nowMs = clock.monotonicMilliseconds();
  const bool pause = countdownState != CountdownState::Paused;
  if (pause) {
    countdown.pause(nowMs);
  } else {
    countdown.resume(nowMs);
  }
  enterCountdownState(pause ? CountdownState::Paused : CountdownState::Running);
  setStageIcon(stageIconId(countdown.remainSeconds(), pause));
}

void CAppWindow::extend(int seconds) {
  if (!counting()) return;
  const int64_t nowMs = clock.monotonicMilliseconds();
  countdown.extend(seconds, nowMs);
  updateCaption();
  setStageIcon(stageIconId(countdown.remainSeconds(), countdownState == CountdownState::Paused));
  showProgress();
  if (countdownState != CountdownState::Running) return;
  armWake();
  aimTickTimer(nowMs);
}

void CAppWindow::setAlwaysOnTop(bool on) {
  // Every settings load sets it: the window keeps its place in the Z order unless it changes.
  if (on == alwaysOnTop) return;
  alwaysOnTop = on;
  // Not activated: the dialog may be hidden in the tray.
  SetWindowPos(window->handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  updateSystemMenu();
}

void CAppWindow::startFromTemplate(const String& fileName) {
  if (countdownState != CountdownState::Idle) return;
  // The same loading as a template named on the command line.
  Ostra::CConfigData settings;
  const StartupLoad load = loadStartup(settings, fileName, StartupName::Literal);
  // Ended, or started by the countdown's end, while the lock was waited for.
  if (window->handle() == nullptr || countdownState != CountdownState::Idle) return;
  // Not loaded: the controls stay as they were.  Refused: shown, but not started.
  if (load == StartupLoad::Failed) return;
  settingsToControls(settings, *this);
  if (load == StartupLoad::Ready) {
    start();
  } else {
    updateControlStates();
  }
}
