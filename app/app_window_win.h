#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "app/alarm.h"
#include "app/alarm_options.h"
#include "app/com_apartment_win.h"
#include "app/commands.h"
#include "app/countdown_view_win.h"
#include "app/global_hotkey_win.h"
#include "app/hotkey.h"
#include "app/keep_awake_win.h"
#include "app/ringing_win.h"
#include "app/settings.h"
#include "app/settings_files_win.h"
#include "app/startup_load.h"
#include "app/startup_options.h"
#include "app/wake_timer_win.h"
#include "base/clock.h"
#include "base/string.h"
#include "ui/app_frame_base.h"
#include "ui/msg_hooker.h"
#include "ui/window.h"

// Where the timer reads the time; the program uses the system's clocks.
struct TimerClock {
  int64_t (*monotonicMilliseconds)() = Ostra::monotonicMilliseconds;
  Ostra::LocalTime (*localTime)() = Ostra::localTimeNow;
  int64_t (*wallMilliseconds)() = Ostra::wallClockMilliseconds;
};

// The application object: the timer dialog's message handler.  It turns the
// dialog's and the system's messages into the alarm's events, and the alarm's
// effects into the window's calls.  Added to the dialog window's hook chain
// after the window's own entry.
class CAppWindow : public Ostra::IMsgHooker,
                   private ISettingsControls,
                   private ICommandTarget,
                   private IAlarmEffects,
                   private ISettingsDialog {
 public:
  static constexpr UINT TrayCallbackMessage = WM_APP + 1;
  // Posted by the wake timer when the deadline has come, also out of sleep.
  static constexpr UINT WakeMessage = WM_APP + 2;
  // A stand-in sound's end (SoundDevice).
  static constexpr UINT SoundEndMessage = CRinging::SoundEndMessage;

  // setExecutionState: null for the system's (tests watch the calls).
  explicit CAppWindow(TimerClock clock = TimerClock(), SoundDevice sound = SoundDevice(),
                      CKeepAwake::SetState setExecutionState = nullptr);
  ~CAppWindow() override;

  // Reads the command line stored in the frame, reports extra arguments, and
  // runs dialog 106 until it ends; always 0.
  int runDialog(const Ostra::CAppFrameBase& frame);
  // The same with the arguments after the program name already split.
  int runDialog(const std::vector<Ostra::String>& arguments);

  bool onMessage(Ostra::WindowMessage& m) override;

  // What the tests drive and watch: the dialog window while it exists, and its tray icon.
  HWND dialogHandleForTesting() const { return window->handle(); }
  const Ostra::CTrayIcon* trayForTesting() const { return view.tray(); }
  const CWakeTimer* wakeTimerForTesting() const { return wakeTimer.get(); }

 private:
  // Dialog events.
  void initialize(HWND dialog);
  bool runCommand(int id);
  void start();
  // The minimise-at-start option, at every run's start.
  void minimizeAtStart();
  void cancel() override;
  // The tick timer's message, and the same off its beat (a wake, the clock set).
  void tick(bool offBeat = false);
  // The system's news for the alarm: sleep and wake, the clock set.
  void onSystemMessage(const Ostra::WindowMessage& m);
  void updateControlStates() override;
  // Enables the button and gives it the keyboard focus.
  void moveFocus(int controlId);
  void restoreFromTray() override { view.restoreFromTray(); }

  // The alarm's effects.
  void stateChanged(CountdownState was, CountdownState now) override;
  void showTime(int remainSeconds, bool paused, int progressPermille, RunNumber run) override;
  void showStageIcon(int iconId) override { view.showStageIcon(iconId); }
  void setTickTimer(int periodMs) override;
  void stopTickTimer() override;
  void keepAwake(AwakeRequest request) override;
  void armWakeTimer(int64_t leftMs) override;
  void disarmWakeTimer() override;
  void watchWakeTimer() override;
  void postRecheck() override;
  void comeToFront(bool takeKeyboard) override { ringing.comeToFront(takeKeyboard); }
  void startBeep() override { ringing.startBeep(); }
  void stopBeep() override { ringing.stopBeep(); }
  void playSound(const Ostra::String& file) override { ringing.playSound(file); }
  void stopSound() override { ringing.stopSound(); }
  void launch(const Ostra::String& file, const Ostra::String& arguments) override { ringing.launch(file, arguments); }
  void showLaunchFailure(const Ostra::String& file) override { ringing.showBox(RingStep::LaunchFailureBox, file); }
  void showMessage(const Ostra::String& text) override { ringing.showBox(RingStep::Message, text); }
  void warnBefore(int minutes) override { view.warnBefore(minutes); }
  void showElapsed(int seconds) override { view.showElapsed(seconds, ticking); }
  void close() override { window->close(); }
  RingSettings ringSettings() override;

  // COM on the dialog's thread, as the file dialogs expect; taken at the
  // first of them, so that a dialog that only counts never loads ole32.
  void enterComApartment() override;

  // The system menu's and the tray icon's commands (app_window_menus_win.cpp).
  void addSystemMenuItems();
  void updateSystemMenu();
  // atIcon: opened from the keyboard, beside the icon instead of at the pointer.
  void showTrayMenu(bool atIcon);
  // The tray icon's callback, by its event; false when not handled.
  bool onTrayEvent(UINT event);
  // The global hotkey: the window to the front, or back where it came from.
  void onHotkey();
  // False for an id that is none of the menus' commands.
  bool runMenuCommand(unsigned id);
  CommandContext commandContext();
  void togglePause() override;
  void extend(int seconds) override;
  void closeDialog() override;
  void setAlwaysOnTop(bool on) override;
  void editOptions() override;
  void snooze() override;
  void startFromTemplate(const Ostra::String& fileName);
  // Counting or paused: what pause, extend and cancel apply to.
  bool counting() const { return alarm.counting(); }

  using StartupLoad = CSettingsFiles::StartupLoad;
  // The settings into the controls and the window's own, and back.
  void showSettings(const Ostra::CConfigData& settings) override;
  void takeSettings(Ostra::CConfigData& settings) override;

  // The controls, as the settings see them.
  Ostra::String text(int controlId) override;
  void setText(int controlId, const Ostra::String& text) override;
  int number(int controlId) override;
  bool isChecked(int controlId) override;
  void setChecked(int controlId, bool checked) override;
  void enable(int controlId, bool on);

  // Destroyed in reverse: the alarm, the ringing, the start-up file, the
  // settings files (with their file dialog), the tray icon, then the window.
  std::unique_ptr<Ostra::CWindow> window;
  CCountdownView view;
  CSettingsFiles settingsFiles;
  std::optional<CComApartment> comApartment;
  Ostra::String startupFile;
  StartupMode startupMode = StartupMode::None;
  TimerClock clock;
  CKeepAwake awake;
  std::unique_ptr<CWakeTimer> wakeTimer;
  bool alwaysOnTop = false;
  // The ringing's options, which have no control on the dialog.
  AlarmOptions options;
  // The hotkey as the settings have it, and what the system has registered
  // of it (nothing while another program holds it).
  Hotkey hotkey;
  std::unique_ptr<CGlobalHotkey> globalHotkey;
  CRinging ringing;
  Alarm alarm{*this};
  bool ticking = false;  // a tick's showTime: only the count has moved
  // The tray's WM_CONTEXTMENU to come is the mouse's, not the keyboard's.
  bool rightButtonReleased = false;
};
