#include "app/app_window_win.h"

#include <utility>

#include "app/presence_rules.h"
#include "base/command_line.h"
#include "resources/resource.h"
#include "ui/wnd.h"

using Ostra::CConfigData;
using Ostra::CWnd;
using Ostra::String;

namespace {

// The soonest a refused tray icon is tried again: the shell may take 4 s to
// refuse an add, and may take it late all the same.
constexpr int64_t kTrayRetryMilliseconds = 5000;

}  // namespace

CAppWindow::CAppWindow(TimerClock clock, SoundDevice sound, CKeepAwake::SetState setExecutionState)
    : window(std::make_unique<Ostra::CWindow>()), clock(clock), sound(sound), keepAwake(setExecutionState) {
  window->chain().add(*this);
}

CAppWindow::~CAppWindow() = default;

int CAppWindow::runDialog(const Ostra::CAppFrameBase& frame) {
  std::vector<String> arguments;
  const char* line = frame.commandLine();
  if (line != nullptr && *line != '\0') {
    arguments = Ostra::splitCommandLine();
    if (!arguments.empty()) arguments.erase(arguments.begin());  // the program itself
  }
  return runDialog(arguments);
}

int CAppWindow::runDialog(const std::vector<String>& arguments) {
  StartupOptions options = parseStartupArguments(arguments);
  startupFile = options.file;
  startupMode = options.mode;
  for (const String& extra : options.extras) {
    CWnd(nullptr).messageBox(InformationBox, u"エラー", extraArgumentMessage(extra));
  }
  window->doModal(Ostra::CModalDialogParameter(IDD_TIMER));
  comApartment.reset();
  return 0;
}

bool CAppWindow::onMessage(Ostra::WindowMessage& m) {
  if (onSystemMessage(m)) return true;
  switch (m.message) {
    case WM_TIMER:
      if (m.wParam == ShowWhileLoadingTimer) {
        window->killTimer(ShowWhileLoadingTimer);
        ShowWindow(window->handle(), SW_SHOWNORMAL);
        return true;
      }
      if (placement == Placement::WaitingForTray &&
          clock.monotonicMilliseconds() - trayAddTriedMs >= kTrayRetryMilliseconds) {
        minimizeToTray();
      }
      tick();
      return true;
    case WM_COMMAND:
      return runCommand(LOWORD(m.wParam));
    case TrayCallbackMessage:
      return onTrayEvent(Ostra::CTrayIcon::callbackEvent(m));
    default:
      break;
  }
  if (trayIcon && trayIcon->handleTaskbarCreated(m)) {
    if (placement == Placement::InTray && !trayIcon->isShown()) {
      place(Placement::WaitingForTray);
    } else if (placement == Placement::WaitingForTray) {
      minimizeToTray();
    }
    return true;
  }
  switch (m.message) {
    case WM_SIZE:
      if (m.wParam != SIZE_MINIMIZED) return false;
      minimizeToTray();
      return true;
    case WM_SYSCOMMAND:
      if (runMenuCommand(static_cast<unsigned>(m.wParam & 0xFFF0))) return true;
      // Brought back from the taskbar by the user: no longer on its way to the tray.
      if ((m.wParam & 0xFFF0) != SC_RESTORE || placement != Placement::WaitingForTray) return false;
      place(Placement::Shown);
      return true;
    case WM_WINDOWPOSCHANGING:
      keepHiddenInTray(*reinterpret_cast<WINDOWPOS*>(m.lParam));
      return false;
    case WM_ACTIVATEAPP:  // to every window of the program, the box's owner too
      if (m.wParam != FALSE) seenAfterAll();
      return false;
    case WM_ACTIVATE:  // also back from its box, which the program had in front
      if (LOWORD(m.wParam) != WA_INACTIVE) seenAfterAll();
      return false;
    case WM_SETFOCUS:
      // While counting, the dialog keeps the keyboard itself: the dialog
      // manager would hand it on to a control (the first, or the last one that
      // had it), and a Space there could toggle a setting or cancel.
      return counting();
    case WM_INITDIALOG:
      initialize(m.hwnd);
      return true;
    case WM_CLOSE:
      window->destroy();
      return true;
    case WM_DESTROY:
      releaseSystemAids();
      if (trayIcon) trayIcon->remove();
      return false;
    default:
      return false;
  }
}

bool CAppWindow::runCommand(int id) {
  switch (id) {
    case IDC_START:
      start();
      break;
    case IDC_SAVE_TEMPLATE:
      saveTemplate();
      break;
    case IDC_LOAD_TEMPLATE:
      loadTemplate();
      break;
    case IDC_SOUND_ON:
    case IDC_MESSAGE_ON:
    case IDC_PROGRAM_ON:
      updateControlStates();
      break;
    case IDC_SOUND_BROWSE:
      browse(IDC_SOUND_FILE, u"音ファイルの選択", u"Wave File", u"*.wav", u"wav");
      break;
    case IDC_SAVE_DEFAULT:
      saveAsDefault();
      break;
    case IDC_CANCEL:
      cancel();
      break;
    case IDC_PROGRAM_BROWSE:
      browse(IDC_PROGRAM_FILE, u"実行ファイルの選択", u"Executable File",
             u"*.COM;*.EXE;*.BAT;*.CMD;*.VBS;*.VBE;*.JS;*.JSE;*.WSF;*.WSH", u"exe");
      break;
    default:
      return false;
  }
  return true;
}

void CAppWindow::initialize(HWND dialog) {
  trayIcon = std::make_unique<Ostra::CTrayIcon>(dialog, TrayCallbackMessage);
  createSystemAids(dialog);
  addSystemMenuItems();
  setStageIcon(IDI_IDLE);
  fileDialog.setOwner(dialog);

  CConfigData settings;
  // A lock held long by another copy: the dialog shows meanwhile, as it would after the load.
  window->setTimer(ShowWhileLoadingTimer, ShowWhileLoadingMilliseconds);
  const StartupLoad load = loadStartup(settings, startupFile);
  if (load != StartupLoad::Ready) startupFile = String();  // nothing to start
  showSettings(settings);
  updateControlStates();
  updateCaption();

  switch (startupMode) {
    case StartupMode::Open:
      break;
    case StartupMode::Select:
      PostMessageA(dialog, WM_COMMAND, IDC_LOAD_TEMPLATE, 0);
      break;
    case StartupMode::None:
      if (!startupFile.empty()) PostMessageA(dialog, WM_COMMAND, IDC_START, 0);
      break;
  }
}

void CAppWindow::start() {
  // Not while the expiry's notifications run (its sound lets presses through):
  // its end would stop the new countdown.
  if (countdownState == CountdownState::Ringing) return;
  const Ostra::LocalTime now = clock.localTime();
  const bool timeOfDay = isChecked(IDC_TIME_OF_DAY);
  const int count = calcRemainSeconds(text(IDC_HOURS), text(IDC_MINUTES), text(IDC_SECONDS), timeOfDay, now);
  const int64_t nowMs = clock.monotonicMilliseconds();
  // A time of day is due on the wall clock's second, not a whole count of
  // seconds from this moment.
  countdown.start(count, nowMs, timeOfDay ? now.millisecond : 0);
  if (timeOfDay) countdown.followWallClock(nowMs, clock.wallMilliseconds());
  enterCountdownState(CountdownState::Running);
  setStageIcon(stageIconId(countdown.remainSeconds()));
  // Started from the tray's menu, it stays there.
  if (isChecked(IDC_MINIMIZE_AT_START) && placement == Placement::Shown) {
    ShowWindow(window->handle(), SW_SHOWMINIMIZED);
  }
}

void CAppWindow::cancel() {
  stopSound();
  enterCountdownState(CountdownState::Idle);
  setStageIcon(IDI_IDLE);
}

void CAppWindow::tick() {
  // A tick posted before the countdown ended or paused has nothing to count,
  // nor has one that comes while the expiry's sound plays.
  if (countdownState != CountdownState::Running) return;
  const int64_t nowMs = clock.monotonicMilliseconds();
  const bool expired = countdown.tick(nowMs);
  updateCaption(true);
  showProgress();
  const int remain = countdown.remainSeconds();
  if (remain < 10) setStageIcon(stageIconId(remain));
  if (expired) {
    expire();
    return;
  }
  // Aim the next tick just past the next whole second of the deadline, unless
  // the running timer already does.
  const int period = tickTimerPeriod(countdown.nextTickDelay(nowMs));
  if (period == tickPeriodMs) return;
  tickPeriodMs = period;
  window->setTimer(TimerId, static_cast<unsigned>(tickPeriodMs));
}

bool CAppWindow::onTrayEvent(UINT event) {
  // From version 3 on the shell follows the right button's release with
  // WM_CONTEXTMENU, which the keyboard (Shift+F10) sends alone.
  const bool keyboardEvents = trayIcon && trayIcon->version() >= NOTIFYICON_VERSION;
  switch (event) {
    case WM_RBUTTONUP:
      if (keyboardEvents) {
        rightButtonReleased = true;
        return false;
      }
      showTrayMenu(false);
      return true;
    case WM_CONTEXTMENU:
      showTrayMenu(!std::exchange(rightButtonReleased, false));
      return true;
    case NIN_KEYSELECT:  // Enter or Space on the focused icon
      showTrayMenu(true);
      return true;
    // One click brings the window back, as the notification area's guidance
    // has it (version 4 follows it with NIN_SELECT); of a double click, the
    // first click does and the rest finds it shown.
    case WM_LBUTTONUP:
    case NIN_SELECT:
    case WM_LBUTTONDBLCLK:
      if (placement == Placement::InTray) restoreFromTray();
      return true;
    default:
      return false;
  }
}

void CAppWindow::minimizeToTray() {
  // Hidden only with an icon to come back by.  A shell that is restarting or
  // not up yet refuses the add: the dialog then stays on the taskbar (the modal
  // loop's first show may even restore it) until a later add is taken.
  const bool added = trayIcon->setIcon(
      static_cast<unsigned short>(stageIconId(countdown.remainSeconds(), countdownState == CountdownState::Paused)));
  trayAddTriedMs = clock.monotonicMilliseconds();
  place(added ? Placement::InTray : Placement::WaitingForTray);
}

void CAppWindow::keepHiddenInTray(WINDOWPOS& pos) const {
  // The modal loop shows the dialog once its queue first runs empty, which is
  // after a Start posted at initialisation has already put it in the tray.
  if (placement == Placement::InTray) pos.flags &= ~SWP_SHOWWINDOW;
}

void CAppWindow::restoreFromTray() {
  place(Placement::Shown);
  window->forceForeground();
}

void CAppWindow::enterCountdownState(CountdownState next) {
  const CountdownState was = countdownState;
  countdownState = next;
  if (next == CountdownState::Running) {
    holdCountdownAids();
    aimTickTimer(clock.monotonicMilliseconds());
  } else {
    window->killTimer(TimerId);
    tickPeriodMs = 0;
    if (next == CountdownState::Ringing) {
      if (wakeTimer) wakeTimer->disarm();
      // Woken by the wake timer, the display stays dark and the system sleeps
      // again within minutes: both are held until the notifications are over.
      keepAwake.holdDisplay();
    } else {
      releaseCountdownAids();
    }
  }
  showProgress();
  if (next == CountdownState::Idle) countdown.stop();
  // Start leaves the keyboard with the dialog itself, on no button: a second
  // Enter or a Space must not cancel what the first one started (Enter finds
  // the default button, Start, disabled).  Tab and Alt+C still reach Cancel.
  // The end of the countdown gives the keyboard back to Start.
  if (was == CountdownState::Idle && next == CountdownState::Running) focusDialog();
  if (was != CountdownState::Idle && next == CountdownState::Idle) moveFocus(IDC_START);
  updateControlStates();
  updateCaption();
}

void CAppWindow::aimTickTimer(int64_t nowMs) {
  tickPeriodMs = tickTimerPeriod(countdown.nextTickDelay(nowMs));
  window->setTimer(TimerId, static_cast<unsigned>(tickPeriodMs));
}

void CAppWindow::place(Placement next, bool activate) {
  const Placement was = placement;
  // Set first: showing the window asks keepHiddenInTray.
  placement = next;
  switch (next) {
    case Placement::Shown:
      ShowWindow(window->handle(), activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
      trayIcon->remove();
      break;
    case Placement::InTray:
      ShowWindow(window->handle(), SW_HIDE);
      break;
    case Placement::WaitingForTray:
      // The restarted shell would not take the icon back: never stay hidden
      // without it.  Back on the taskbar until a later add is taken.
      if (was != Placement::InTray) break;
      trayAddTriedMs = clock.monotonicMilliseconds();
      ShowWindow(window->handle(), SW_SHOWMINNOACTIVE);
      break;
  }
}

void CAppWindow::updateControlStates() {
  const bool idle = countdownState == CountdownState::Idle;
  for (int id : {IDC_HOURS, IDC_MINUTES, IDC_SECONDS, IDC_TIME_OF_DAY}) enable(id, idle);
  enable(IDC_MESSAGE_TEXT, isChecked(IDC_MESSAGE_ON));
  const bool sound = isChecked(IDC_SOUND_ON);
  enable(IDC_SOUND_FILE, sound);
  enable(IDC_SOUND_BROWSE, sound);
  const bool program = isChecked(IDC_PROGRAM_ON);
  for (int id : {IDC_PROGRAM_FILE, IDC_PROGRAM_ARGUMENTS, IDC_PROGRAM_BROWSE}) enable(id, program);
  enable(IDC_LOAD_TEMPLATE, idle);
  enable(IDC_START, idle);
  enable(IDC_CANCEL, !idle);
  updateSystemMenu();
}

void CAppWindow::moveFocus(int controlId) {
  // Before the button it leaves is disabled: a disabled control keeps no focus,
  // and then Tab and Space reach nothing.  Not SetFocus: the dialog's default
  // button and its own record of the focus follow the message too.
  enable(controlId, true);
  SendMessageW(window->handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window->item(controlId).handle()), TRUE);
}

void CAppWindow::focusDialog() {
  // Before Start is disabled, which would leave the focus nowhere: then keys
  // come as system keys and Tab reaches nothing.  Kept there by WM_SETFOCUS.
  SetFocus(window->handle());
}

void CAppWindow::updateCaption(bool tick) {
  const int remain = countdown.remainSeconds();
  const String caption = captionText(remain, countdownState == CountdownState::Paused);
  // A screen reader announces every change of the foreground window's title:
  // one a second would leave it no time for anything else.
  if (!tick || !screenReaderFollows() || announceCountdown(captionSeconds, remain)) {
    window->setText(caption);
    captionSeconds = remain;
  }
  if (trayIcon) trayIcon->setTip(caption);
}

bool CAppWindow::screenReaderFollows() const {
  BOOL running = FALSE;
  if (!SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) || !running) return false;
  return GetForegroundWindow() == window->handle();
}

void CAppWindow::setStageIcon(int iconId) {
  window->setClassIcon(static_cast<unsigned short>(iconId));
  if (trayIcon && trayIcon->isShown()) trayIcon->setIcon(static_cast<unsigned short>(iconId));
  // The window's own icons, drawn for the sizes it shows them at, go before the
  // class icon, which the system would stretch.
  stageIcon = iconId;
  const auto id = static_cast<unsigned short>(iconId);
  const HWND dialog = window->handle();
  SendMessageW(dialog, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(windowIcons.get(id, Ostra::smallIconPixels(dialog))));
  SendMessageW(dialog, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(windowIcons.get(id, Ostra::largeIconPixels(dialog))));
}

String CAppWindow::text(int controlId) { return window->item(controlId).getText(); }

void CAppWindow::setText(int controlId, const String& text) { window->item(controlId).setText(text); }

int CAppWindow::number(int controlId) { return window->item(controlId).getInt(); }

bool CAppWindow::isChecked(int controlId) { return window->item(controlId).isChecked(); }

void CAppWindow::setChecked(int controlId, bool checked) { window->item(controlId).setCheck(checked); }

void CAppWindow::enable(int controlId, bool on) { window->item(controlId).enable(on); }
