#include "app/app_window_win.h"

#include <utility>

#include "app/information_box_win.h"
#include "base/command_line.h"
#include "resources/resource.h"
#include "ui/wnd.h"

using Ostra::CConfigData;
using Ostra::CWnd;
using Ostra::String;

CAppWindow::CAppWindow(TimerClock clock, SoundDevice sound, CKeepAwake::SetState setExecutionState)
    : window(std::make_unique<Ostra::CWindow>()),
      view(*window, clock.monotonicMilliseconds),
      settingsFiles(*window, *this),
      clock(clock),
      awake(setExecutionState),
      ringing(*window, view, alarm, sound, alwaysOnTop, clock.monotonicMilliseconds) {
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
    CWnd(nullptr).messageBox(kInformationBox, u"エラー", extraArgumentMessage(extra));
  }
  window->doModal(Ostra::CModalDialogParameter(IDD_TIMER));
  comApartment.reset();
  return 0;
}

bool CAppWindow::onMessage(Ostra::WindowMessage& m) {
  onSystemMessage(m);
  if (view.onMessage(m) || ringing.onMessage(m)) return true;
  switch (m.message) {
    case WM_TIMER:
      if (m.wParam == CSettingsFiles::ShowWhileLoadingTimer) {
        window->killTimer(CSettingsFiles::ShowWhileLoadingTimer);
        ShowWindow(window->handle(), SW_SHOWNORMAL);
        return true;
      }
      view.retryTray();
      tick();
      return true;
    case WakeMessage:
      tick(true);
      return true;
    case WM_COMMAND:
      return runCommand(LOWORD(m.wParam));
    case TrayCallbackMessage:
      return onTrayEvent(Ostra::CTrayIcon::callbackEvent(m));
    case WM_HOTKEY:
      if (m.wParam != CGlobalHotkey::Id) return false;
      onHotkey();
      return true;
    case WM_SIZE:
      if (m.wParam != SIZE_MINIMIZED) return false;
      view.minimizeToTray();
      return true;
    case WM_SYSCOMMAND:
      if (runMenuCommand(static_cast<unsigned>(m.wParam & 0xFFF0))) return true;
      // Brought back from the taskbar by the user: no longer on its way to the tray.
      if ((m.wParam & 0xFFF0) != SC_RESTORE || view.placement() != Placement::WaitingForTray) return false;
      view.place(Placement::Shown);
      return true;
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
      // Everything stops with nothing more shown, also a ringing under way.
      alarm.on(Alarm::Closing{});
      ringing.destroy();
      wakeTimer.reset();
      globalHotkey.reset();
      view.destroy();
      return false;
    default:
      return false;
  }
}

void CAppWindow::onSystemMessage(const Ostra::WindowMessage& m) {
  if (m.message == WM_TIMECHANGE) {
    alarm.on(Alarm::ClockChanged{clock.monotonicMilliseconds(), clock.wallMilliseconds()});
  } else if (m.message == WM_POWERBROADCAST && m.wParam == PBT_APMSUSPEND) {
    alarm.on(Alarm::Suspend{});
  } else if (m.message == WM_POWERBROADCAST &&
             (m.wParam == PBT_APMRESUMEAUTOMATIC || m.wParam == PBT_APMRESUMESUSPEND)) {
    // Every wake is told as automatic, a person's once more when input comes.
    alarm.on(Alarm::Resumed{m.wParam == PBT_APMRESUMESUSPEND, clock.monotonicMilliseconds()});
  }
}

bool CAppWindow::runCommand(int id) {
  switch (id) {
    case IDC_START:
      start();
      break;
    case IDC_SAVE_TEMPLATE:
      settingsFiles.saveTemplate();
      break;
    case IDC_LOAD_TEMPLATE:
      settingsFiles.loadTemplate();
      break;
    case IDC_SOUND_ON:
    case IDC_MESSAGE_ON:
    case IDC_PROGRAM_ON:
      updateControlStates();
      break;
    case IDC_SOUND_BROWSE:
      settingsFiles.browse(IDC_SOUND_FILE, u"音ファイルの選択", u"サウンド", u"*.wav;*.mp3;*.wma", u"wav");
      break;
    case IDC_SAVE_DEFAULT:
      settingsFiles.saveAsDefault();
      break;
    case IDC_CANCEL:
      cancel();
      break;
    case IDC_PROGRAM_BROWSE:
      settingsFiles.browse(IDC_PROGRAM_FILE, u"実行ファイルの選択", u"Executable File",
                           u"*.COM;*.EXE;*.BAT;*.CMD;*.VBS;*.VBE;*.JS;*.JSE;*.WSF;*.WSH", u"exe");
      break;
    default:
      return false;
  }
  return true;
}

void CAppWindow::initialize(HWND dialog) {
  view.create(dialog, TrayCallbackMessage);
  wakeTimer = std::make_unique<CWakeTimer>(dialog, WakeMessage);
  ringing.create(dialog);
  globalHotkey = std::make_unique<CGlobalHotkey>(dialog);
  addSystemMenuItems();
  settingsFiles.create(dialog);

  CConfigData settings;
  // A lock held long by another copy: the dialog shows meanwhile, as it would after the load.
  window->setTimer(CSettingsFiles::ShowWhileLoadingTimer, CSettingsFiles::ShowWhileLoadingMilliseconds);
  const StartupLoad load = settingsFiles.loadStartup(settings, startupFile);
  if (load != StartupLoad::Ready) startupFile = String();  // nothing to start
  showSettings(settings);
  updateControlStates();
  view.showTime(-1, false, -1, false);

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
  Alarm::Start s;
  s.hours = text(IDC_HOURS);
  s.minutes = text(IDC_MINUTES);
  s.seconds = text(IDC_SECONDS);
  s.timeOfDay = isChecked(IDC_TIME_OF_DAY);
  s.localNow = clock.localTime();
  s.nowMs = clock.monotonicMilliseconds();
  s.wallMs = clock.wallMilliseconds();
  s.warnMinutes = options.warnMinutes;
  s.runs = options.runs;
  alarm.on(s);
  if (alarm.state() == CountdownState::Running) minimizeAtStart();
}

void CAppWindow::minimizeAtStart() {
  // Started from the tray's menu, it stays there.
  if (isChecked(IDC_MINIMIZE_AT_START) && view.placement() == Placement::Shown) {
    ShowWindow(window->handle(), SW_SHOWMINIMIZED);
  }
}

void CAppWindow::cancel() { alarm.on(Alarm::Cancel{}); }

void CAppWindow::tick(bool offBeat) {
  const int64_t nowMs = clock.monotonicMilliseconds();
  const int64_t idleMs = CRinging::inputIdleMilliseconds();
  ticking = true;
  try {
    alarm.on(offBeat ? Alarm::Event(Alarm::Recheck{nowMs, idleMs}) : Alarm::Event(Alarm::Tick{nowMs, idleMs}));
  } catch (...) {
    ticking = false;
    throw;
  }
  ticking = false;
}

RingSettings CAppWindow::ringSettings() {
  RingSettings s;
  s.beep = isChecked(IDC_BEEP);
  s.sound = isChecked(IDC_SOUND_ON);
  s.soundFile = text(IDC_SOUND_FILE);
  s.program = isChecked(IDC_PROGRAM_ON);
  s.programFile = text(IDC_PROGRAM_FILE);
  s.programArguments = text(IDC_PROGRAM_ARGUMENTS);
  s.message = isChecked(IDC_MESSAGE_ON);
  s.messageText = text(IDC_MESSAGE_TEXT);
  s.closeAtEnd = isChecked(IDC_CLOSE_AT_END);
  s.repeatMinutes = options.repeat ? options.repeatMinutes : 0;
  s.showElapsed = options.showElapsed;
  s.snoozeMinutes = options.snoozeMinutes;
  return s;
}

void CAppWindow::stateChanged(CountdownState was, CountdownState now) {
  // A menu left open would choose among commands that no longer apply.
  if (now == CountdownState::Ringing) EndMenu();
  // Start leaves the keyboard with the dialog itself, on no button: a second
  // Enter or a Space must not cancel what the first one started (Enter finds
  // the default button, Start, disabled).  Tab and Alt+C still reach Cancel.
  // Before Start is disabled, which would leave the focus nowhere: then keys
  // come as system keys and Tab reaches nothing.  Kept there by WM_SETFOCUS.
  if (was == CountdownState::Idle) SetFocus(window->handle());
  // The next run of a repeating countdown starts as the first did; a snooze
  // leaves the window where the ringing brought it.
  if (was == CountdownState::Ringing && now == CountdownState::Running && !alarm.snoozing()) minimizeAtStart();
  // The end of the countdown gives the keyboard back to Start.
  if (now == CountdownState::Idle) moveFocus(IDC_START);
  updateControlStates();
}

void CAppWindow::showTime(int remainSeconds, bool paused, int progressPermille, RunNumber run) {
  view.showTime(remainSeconds, paused, progressPermille, ticking, alarm.snoozing(), run);
}

void CAppWindow::setTickTimer(int periodMs) { window->setTimer(TimerId, static_cast<unsigned>(periodMs)); }

void CAppWindow::stopTickTimer() { window->killTimer(TimerId); }

void CAppWindow::keepAwake(AwakeRequest request) {
  switch (request) {
    case AwakeRequest::None:
      awake.release();
      break;
    case AwakeRequest::System:
      awake.hold();
      break;
    case AwakeRequest::SystemAndDisplay:
      awake.holdDisplay();
      break;
  }
}

void CAppWindow::armWakeTimer(int64_t leftMs) {
  if (wakeTimer) wakeTimer->arm(leftMs);
}

void CAppWindow::disarmWakeTimer() {
  if (wakeTimer) wakeTimer->disarm();
}

void CAppWindow::watchWakeTimer() {
  // The timer wakes the computer by itself; its message is wanted from now.
  if (wakeTimer) wakeTimer->watch();
}

void CAppWindow::postRecheck() {
  // Posted: the expiry must not run inside the system's broadcast.
  if (window->handle() != nullptr) PostMessageW(window->handle(), WakeMessage, 0, 0);
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

void CAppWindow::updateControlStates() {
  const bool idle = alarm.state() == CountdownState::Idle;
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

void CAppWindow::enterComApartment() {
  if (!comApartment) comApartment.emplace();
}

bool CAppWindow::onTrayEvent(UINT event) {
  // From version 3 on the shell follows the right button's release with
  // WM_CONTEXTMENU, which the keyboard (Shift+F10) sends alone.
  const bool keyboardEvents = view.tray() && view.tray()->version() >= NOTIFYICON_VERSION;
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
      if (view.placement() == Placement::InTray) restoreFromTray();
      return true;
    default:
      return false;
  }
}

void CAppWindow::onHotkey() {
  const HWND dialog = window->handle();
  // A box or dialog of ours is open over the window: that comes forward, as it was.
  if (IsWindowEnabled(dialog) == FALSE) {
    SetForegroundWindow(GetLastActivePopup(dialog));
    return;
  }
  // The foreground, and on the screen: not while the tray's menu is open over the hidden window.
  if (GetForegroundWindow() == dialog && IsWindowVisible(dialog) != FALSE && IsIconic(dialog) == FALSE) {
    // Back where it came from: minimised, which puts it in the tray, or on
    // the taskbar while the tray will not take the icon.
    ShowWindow(dialog, SW_MINIMIZE);
    return;
  }
  if (view.placement() != Placement::Shown) {
    view.place(Placement::Shown);
  } else if (IsIconic(dialog)) {
    ShowWindow(dialog, SW_RESTORE);
  }
  // The hotkey was the last input, which lets its program take the
  // foreground; should the system refuse all the same, the taskbar button
  // asks for attention.
  if (!SetForegroundWindow(dialog)) window->flashUntilActive();
  moveFocus(alarm.state() == CountdownState::Idle ? IDC_START : IDC_CANCEL);
}

String CAppWindow::text(int controlId) { return window->item(controlId).getText(); }

void CAppWindow::setText(int controlId, const String& text) { window->item(controlId).setText(text); }

int CAppWindow::number(int controlId) { return window->item(controlId).getInt(); }

bool CAppWindow::isChecked(int controlId) { return window->item(controlId).isChecked(); }

void CAppWindow::setChecked(int controlId, bool checked) { window->item(controlId).setCheck(checked); }

void CAppWindow::enable(int controlId, bool on) { window->item(controlId).enable(on); }
