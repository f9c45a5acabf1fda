#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "app/com_apartment_win.h"
#include "app/keep_awake_win.h"
#include "app/settings.h"
#include "app/startup_load.h"
#include "app/startup_options.h"
#include "app/taskbar_progress_win.h"
#include "app/timer_engine.h"
#include "app/wake_timer_win.h"
#include "base/clock.h"
#include "base/string.h"
#include "ui/app_frame_base.h"
#include "ui/file_select_dialog.h"
#include "ui/icon_cache.h"
#include "ui/msg_hooker.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

// Where the timer reads the time; the program uses the system's clocks.
struct TimerClock {
  int64_t (*monotonicMilliseconds)() = Ostra::monotonicMilliseconds;
  Ostra::LocalTime (*localTime)() = Ostra::localTimeNow;
  int64_t (*wallMilliseconds)() = Ostra::wallClockMilliseconds;
};

// The two notifications that leave no trace a test could look at: they go
// through here so that a test can see them happen, and in which order.
// playSound runs on a thread of its own, false when the file could not be
// played; stopSound, on the dialog's, must make it return at once.
struct SoundDevice {
  void (*beep)() = nullptr;                                // null: Beep(886, 1000)
  bool (*playSound)(const Ostra::String& path) = nullptr;  // null: the system's player
  void (*stopSound)() = nullptr;                           // null: the system's player
};

// Where a countdown is: nothing to count, counting to its deadline, standing
// still, or the expiry's notifications under way (the count stays at 0).
enum class CountdownState { Idle, Running, Paused, Ringing };
// Where the dialog is: on the screen, hidden with its icon in the notification
// area, or minimised on the taskbar while the shell refuses the icon (each tick
// and "TaskbarCreated" try again, until it is in or the user restores it).
enum class Placement { Shown, InTray, WaitingForTray };

// The application object: the timer dialog's message handler, its countdown,
// notifications and settings.  Added to the dialog window's hook chain after
// the window's own entry.
class CAppWindow : public Ostra::IMsgHooker, private ISettingsControls {
 public:
  static constexpr UINT TrayCallbackMessage = WM_APP + 1;
  // Posted by the wake timer when the deadline has come, also out of sleep.
  static constexpr UINT WakeMessage = WM_APP + 2;
  // The style of every box of the application's own: MB_OK, information icon,
  // set foreground (0x10040).
  static constexpr UINT InformationBox = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND;

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
  const Ostra::CTrayIcon* trayForTesting() const { return trayIcon.get(); }
  const CWakeTimer* wakeTimerForTesting() const { return wakeTimer.get(); }

 private:
  // Dialog events.
  void initialize(HWND dialog);
  bool runCommand(int id);
  void start();
  void cancel();
  void tick();
  void expire();
  void minimizeToTray();
  void restoreFromTray();
  void keepHiddenInTray(WINDOWPOS& pos) const;
  // The one place each state changes, with what the new state starts or stops.
  void enterCountdownState(CountdownState next);
  // activate false: shown without taking the keyboard from the program in use.
  void place(Placement next, bool activate = true);
  // Sets the window timer for the next tick of a running countdown, off any
  // beat it was on (a start, a resume, an extend, a wake).
  void aimTickTimer(int64_t nowMs);
  void updateControlStates();
  // Enables the button and gives it the keyboard focus.
  void moveFocus(int controlId);
  // Gives the keyboard focus to the dialog window itself, on no control.
  void focusDialog();
  // tick: only the count has moved, which a screen reader hears less often.
  void updateCaption(bool tick = false);
  // A screen reader runs and reads this dialog, the foreground window.
  bool screenReaderFollows() const;
  void setStageIcon(int iconId);

  // What keeps a countdown on time past sleep, clock changes and freezes, and
  // shows it on the taskbar (app_window_system_win.cpp).
  void createSystemAids(HWND dialog);
  bool onSystemMessage(Ostra::WindowMessage& m);
  // The keep-awake and the wake timer, which only a running countdown holds.
  void holdCountdownAids();
  void releaseCountdownAids();
  // Nothing held through a sleep; after a wake what the person's return or
  // the alarm's own wake asks for (WM_POWERBROADCAST's event).
  void keepAwakeAcross(WPARAM powerEvent);
  void recheckDeadline();
  void armWake();
  void showProgress();
  void releaseSystemAids();

  // The system menu's and the tray icon's commands (app_window_menus_win.cpp).
  void addSystemMenuItems();
  void updateSystemMenu();
  // atIcon: opened from the keyboard, beside the icon instead of at the pointer.
  void showTrayMenu(bool atIcon);
  // The tray icon's callback, by its event; false when not handled.
  bool onTrayEvent(UINT event);
  // False for an id that is none of the menus' commands.
  bool runMenuCommand(unsigned id);
  void togglePause();
  void extend(int seconds);
  void setAlwaysOnTop(bool on);
  void startFromTemplate(const Ostra::String& fileName);
  // Counting or paused: what pause, extend and cancel apply to.
  bool counting() const;
  bool pausable();

  // Expiry notifications.
  // Shows the dialog above the others; it takes the keyboard only when the
  // person is not typing, and otherwise waits, flashing, to be come to.
  void comeBack();
  // The person has come to the waiting dialog or its box: it stops asking.
  void seenAfterAll();
  // A box of the ringing: it takes the keyboard only when the dialog could.
  void ringingBox(const Ostra::String& caption, const Ostra::String& text);
  void beep();
  // False when the sound could not be played.
  bool playSound();
  void answerUntil(HANDLE finished);
  void stopSound();
  void launchProgram();
  // COM on the dialog's thread, as the shell's launch and the file dialogs
  // expect; taken at the first of them, so that a dialog that only counts
  // never loads ole32.
  void enterComApartment();
  void showMessage();

  // Settings and templates.
  // While a settings file is read or written its lock may be waited for, and
  // the dialog's messages go on meanwhile (it paints, its countdown runs): it
  // takes no input then, nor does the tray's menu open, so no other command
  // starts in the middle of this one.
  class FileWork {
   public:
    explicit FileWork(CAppWindow& owner);
    ~FileWork();
    FileWork(const FileWork&) = delete;
    FileWork& operator=(const FileWork&) = delete;

   private:
    CAppWindow& owner_;
    const bool reenable_;
  };
  int fileWork = 0;
  // Shows the dialog when its start-up load waits long for a lock.
  static constexpr unsigned ShowWhileLoadingTimer = 101;
  static constexpr unsigned ShowWhileLoadingMilliseconds = 1000;
  void saveAsDefault();
  void saveTemplate();
  void loadTemplate();
  void prepareTemplateDialog(const Ostra::String& title);
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
  // Every template load passes through here before its settings reach the
  // controls: a template from another computer that would launch a program
  // asks the user first (a box owned by owner, none when null); on No its
  // launch is switched off in settings.  False when the user said No.
  bool confirmTemplateLaunch(HWND owner, const Ostra::String& path, Ostra::CConfigData& settings);
  void browse(int editId, const Ostra::String& title, const Ostra::String& filterName, const Ostra::String& patterns,
              const Ostra::String& defaultExtension);
  void reportSaveFailure(const Ostra::String& path);
  // A malformed value's error text, in the box of the dialog's error reporter.
  void reportMalformed(const Ostra::String& message);
  // The load-failure box, owned by owner (none at start-up).
  void reportLoadFailure(HWND owner, const Ostra::String& path);

  // The controls, as the settings see them.
  Ostra::String text(int controlId) override;
  void setText(int controlId, const Ostra::String& text) override;
  int number(int controlId) override;
  bool isChecked(int controlId) override;
  void setChecked(int controlId, bool checked) override;
  void enable(int controlId, bool on);

  // Destroyed in reverse: the start-up file, the file dialog, the tray icon,
  // then the window.
  std::unique_ptr<Ostra::CWindow> window;
  std::unique_ptr<Ostra::CTrayIcon> trayIcon;
  Ostra::CFileSelectDialog fileDialog;
  std::optional<CComApartment> comApartment;
  Countdown countdown;  // remainSeconds lives here
  Ostra::String startupFile;
  StartupMode startupMode = StartupMode::None;
  CountdownState countdownState = CountdownState::Idle;
  Placement placement = Placement::Shown;
  // What the countdown's window timer was last set to: it repeats at that period.
  int tickPeriodMs = 0;
  int64_t trayAddTriedMs = 0;  // when the last add was tried, on the monotonic clock
  TimerClock clock;
  SoundDevice sound;
  CKeepAwake keepAwake;
  std::unique_ptr<CWakeTimer> wakeTimer;
  std::unique_ptr<CTaskbarProgress> taskbarProgress;
  Ostra::CIconCache windowIcons;  // the dialog's own; it has ended before these go
  int stageIcon = IDI_IDLE;
  // The expiry's sound plays while the dialog answers its messages; Cancel,
  // closing the dialog or the end of the session stop it, and the expiry with it.
  enum class SoundState { Silent, Playing, Stopped };
  SoundState soundState = SoundState::Silent;
  bool alwaysOnTop = false;
  // Since an expiry that came while the person was typing, until they come to it.
  bool waitingToBeSeen = false;
  int captionSeconds = -1;  // the count the title shows
  // The tray's WM_CONTEXTMENU to come is the mouse's, not the keyboard's.
  bool rightButtonReleased = false;
};
