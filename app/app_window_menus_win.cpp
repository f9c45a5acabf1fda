// The commands beyond the dialog's buttons: pause, extend and cancel a
// countdown, start a template and keep the window on top, from the window's
// system menu and the tray icon's menu, both built from the table of commands.
#include <windows.h>

#include <utility>
#include <vector>

#include "app/app_window_win.h"
#include "app/options_dialog_win.h"
#include "app/template_list.h"
#include "config/config_data.h"
#include "resources/resource.h"
#include "ui/menu.h"

using Ostra::String;

namespace {

constexpr size_t kMenuTemplates = 30;

UINT grayedUnless(bool enabled) { return enabled ? 0 : MF_GRAYED; }

UINT flagsOf(const MenuItemLook& look) { return grayedUnless(look.enabled) | (look.checked ? MF_CHECKED : 0); }

void appendCommand(HMENU menu, const MenuCommand& command, const CommandContext& now) {
  if (command.id == 0) {
    Ostra::appendMenuSeparator(menu);
    return;
  }
  const MenuItemLook look = lookOf(command, now);
  Ostra::appendMenuItem(menu, command.id, look.text, flagsOf(look));
}

}  // namespace

CommandContext CAppWindow::commandContext() {
  return {alarm.state(), view.placement(), isChecked(IDC_TIME_OF_DAY), alwaysOnTop, alarm.snoozeMinutes()};
}

void CAppWindow::addSystemMenuItems() {
  const HMENU menu = GetSystemMenu(window->handle(), FALSE);
  if (menu == nullptr) return;
  const CommandContext now = commandContext();
  for (const MenuCommand& command : kMenuCommands) {
    if ((command.menus & InSystemMenu) != 0) appendCommand(menu, command, now);
  }
}

void CAppWindow::updateSystemMenu() {
  const HMENU menu = GetSystemMenu(window->handle(), FALSE);
  if (menu == nullptr) return;
  const CommandContext now = commandContext();
  for (const MenuCommand& command : kMenuCommands) {
    if ((command.menus & InSystemMenu) == 0 || command.id == 0) continue;
    const MenuItemLook look = lookOf(command, now);
    Ostra::changeMenuItem(menu, command.id, look.text, flagsOf(look));
  }
}

void CAppWindow::showTrayMenu(bool atIcon) {
  if (settingsFiles.busy()) return;
  Ostra::UniqueMenu menu(CreatePopupMenu());
  Ostra::UniqueMenu templates(CreatePopupMenu());
  if (!menu || !templates) return;
  // One more than shown: whether the rest needs the load dialog.
  std::vector<String> names = templateMenuNames(templateFolder(), kMenuTemplates + 1);
  const bool more = names.size() > kMenuTemplates;
  if (more) names.resize(kMenuTemplates);
  // Each template is read under its lock, whose wait answers messages: no
  // second menu opens meanwhile, and a dialog ended meanwhile shows none.
  std::vector<String> texts;
  {
    const CSettingsFiles::FileWork busy(settingsFiles, CSettingsFiles::FileWork::InputOn);
    texts = templateMenuTexts(templateFolder(), names);
  }
  if (window->handle() == nullptr) return;
  for (size_t i = 0; i < names.size(); ++i) {
    Ostra::appendMenuItem(templates.get(), static_cast<UINT>(IDM_FIRST_TEMPLATE + i), Ostra::literalMenuText(texts[i]));
  }
  if (more) Ostra::appendMenuItem(templates.get(), IDM_MORE_TEMPLATES, u"その他...(&M)");
  // Says why there is nothing to choose, where a grey parent would not.
  if (names.empty()) Ostra::appendMenuItem(templates.get(), 0, u"（テンプレートがありません）", MF_GRAYED);
  const CommandContext now = commandContext();
  for (const MenuCommand& command : kMenuCommands) {
    if ((command.menus & InTrayMenu) == 0) continue;
    if (command.id == IDM_FIRST_TEMPLATE) {
      Ostra::appendSubmenu(menu.get(), std::move(templates), command.text, grayedUnless(command.applies(now)));
      continue;
    }
    appendCommand(menu.get(), command, now);
    if ((command.menus & TrayDefault) != 0) SetMenuDefaultItem(menu.get(), command.id, FALSE);
  }

  POINT at{};
  GetCursorPos(&at);
  RECT icon{};
  const bool besideIcon = atIcon && view.tray()->screenRect(icon);
  const UINT chosen = Ostra::trackTrayMenu(window->handle(), menu.get(), at, besideIcon ? &icon : nullptr);
  // The dialog may have ended while the menu was open (the countdown closed it).
  if (window->handle() == nullptr) return;
  if (chosen == 0) {
    // Esc: the keyboard goes back where it came from.  Not after a click
    // elsewhere, which gave the foreground to that window.
    if (atIcon && GetForegroundWindow() == window->handle()) view.tray()->focusNotificationArea();
    return;
  }
  if (chosen >= IDM_FIRST_TEMPLATE && chosen - IDM_FIRST_TEMPLATE < names.size()) {
    startFromTemplate(names[chosen - IDM_FIRST_TEMPLATE] + u".tpt");
    return;
  }
  runMenuCommand(chosen);
}

bool CAppWindow::runMenuCommand(unsigned id) {
  if (id != IDM_MORE_TEMPLATES) return dispatchCommand(id, commandContext(), *this);
  // The load button's dialog, over the window that shows what it loads.
  if (alarm.state() != CountdownState::Idle) return true;
  if (view.placement() == Placement::InTray) restoreFromTray();
  settingsFiles.loadTemplate();
  return true;
}

void CAppWindow::closeDialog() { window->close(); }

void CAppWindow::togglePause() {
  const int64_t nowMs = clock.monotonicMilliseconds();
  if (alarm.state() == CountdownState::Paused) {
    alarm.on(Alarm::Resume{nowMs});
  } else {
    alarm.on(Alarm::Pause{nowMs});
  }
}

void CAppWindow::extend(int seconds) { alarm.on(Alarm::Extend{seconds, clock.monotonicMilliseconds()}); }

void CAppWindow::snooze() {
  // The message's own button snoozes, and closes it; it comes back here.
  if (ringing.pressSnooze()) return;
  alarm.on(Alarm::Snooze{clock.monotonicMilliseconds()});
}

void CAppWindow::editOptions() {
  // From the tray menu too: owned by the dialog, which the box disables meanwhile.
  if (globalHotkey) {
    editAlarmOptions(window->handle(), options, isChecked(IDC_TIME_OF_DAY), hotkey, *globalHotkey);
  }
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
  if (alarm.state() != CountdownState::Idle) return;
  // The same loading as a template named on the command line.
  Ostra::CConfigData settings;
  const StartupLoad load = settingsFiles.loadStartup(settings, fileName, StartupName::Literal);
  // Ended, or started by the countdown's end, while the lock was waited for.
  if (window->handle() == nullptr || alarm.state() != CountdownState::Idle) return;
  // Not loaded: the controls stay as they were.  Refused: shown, but not started.
  if (load == StartupLoad::Failed) return;
  showSettings(settings);
  if (load == StartupLoad::Ready) {
    start();
  } else {
    updateControlStates();
  }
}
