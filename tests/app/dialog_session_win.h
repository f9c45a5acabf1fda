#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "base/string.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/string_print.h"

// Runs the real timer dialog (dialog 106 with a CAppWindow) inside the test
// process and drives it with window messages from a second thread, the way
// the system and the user would.  Only the clock, the sound calls and
// the power request (SetThreadExecutionState) are replaced; files, message boxes, file dialogs, the tray icon and
// launched programs are the real ones.
namespace Ostra::testing {

// The clock the dialog reads: it stands still until the test moves it, so
// every tick is one the test delivers.
class FakeClock {
 public:
  static TimerClock timerClock();
  static void set(int64_t milliseconds, LocalTime timeOfDay);
  static void advance(int64_t milliseconds);
  // The user sets the wall clock on by that much (back when negative); the
  // monotonic clock does not move.
  static void setWallClock(int64_t jumpMilliseconds);
};

// Something that happened during a session, with the dialog as it was then.
struct SessionEvent {
  std::string what;  // "beep", "sound", "stop" (of the sound), "close" (a WM_CLOSE sent to the dialog)
  String detail;     // the sound's path
  String caption;
  bool dialogVisible = false;
  bool dialogIconic = false;
  bool trayShown = false;
  bool startEnabled = false;
  LONGLONG counter = 0;            // QueryPerformanceCounter, comparable between processes
  bool singleThreadedCom = false;  // on the thread that noted it: the dialog's for a beep or a stop
};

// The calling thread is in a single-threaded COM apartment.
bool inSingleThreadedApartment();

// The script's handle on the running dialog.  Commands, ticks and mouse
// messages are posted, as the system delivers them, and the driver then waits
// until the dialog's thread has taken up the next message: the message has
// been handled, or its handler waits in a modal window the script now has to
// operate.  (A sent one could be handled in the middle of another handler,
// while that waits for the shell.)
class DialogDriver {
 public:
  DialogDriver(HWND dialog, CAppWindow& app) : dialog_(dialog), app_(app) {}
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  HWND dialog() const { return dialog_; }

  // A button press: WM_COMMAND with the control's id.
  void command(int id);
  // Moves the clock on and delivers one WM_TIMER of the countdown's timer.
  void tick(int64_t milliseconds = 1000);
  // Posts any message and waits as above.
  void deliver(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Waits until the dialog's thread has handled everything delivered so far.
  void sync();

  String caption() const;
  String text(int id) const;
  void setText(int id, const String& text);
  bool enabled(int id) const;
  bool checked(int id) const;
  // As a click does it: the new state, then the notification to the dialog.
  void setChecked(int id, bool on);
  bool visible() const { return IsWindowVisible(dialog_) != FALSE; }
  bool iconic() const { return IsIconic(dialog_) != FALSE; }
  bool open() const { return IsWindow(dialog_) != FALSE; }
  // True when the dialog's class icon is that icon resource.
  bool classIconIs(int iconId) const;

  // The dialog's tray icon object; read only between the messages the script sends.
  const CTrayIcon& tray() const { return *app_.trayForTesting(); }
  // True when the wake timer posts its message, as after a sleep was announced.
  bool wakeWatched() const { return app_.wakeTimerForTesting()->watching(); }
  // True when the tray, or the caption and taskbar, show that icon resource at
  // the sizes they show icons at.
  bool trayIconIs(int iconId) const;
  bool windowIconsAre(int iconId) const;
  String trayTip() const;

  // The window that has the keyboard focus on the dialog's thread, and its
  // id as a control (0 for none, and for the dialog itself).
  HWND focus() const;
  int focusedControl() const;
  // A key pressed and released, or Alt with a letter, as the keyboard sends
  // them to the window with the focus (the dialog when none has it).
  void pressKey(UINT key);
  void pressAlt(char16_t letter);
  // Brings the dialog to the foreground, as a click on it does.
  void activate();

  // The minimise box, the close box, and the tray icon's callback with a mouse message.
  void minimize() { deliver(WM_SYSCOMMAND, SC_MINIMIZE); }
  void closeBox() { deliver(WM_SYSCOMMAND, SC_CLOSE); }
  // Any event (a mouse message, WM_CONTEXTMENU, NIN_KEYSELECT) in the layout of
  // the version the shell took: from version 4 on, with the icon's id.
  void trayMouse(UINT mouseMessage) {
    deliver(CAppWindow::TrayCallbackMessage, tray().recordForTesting().uID, trayEvent(mouseMessage));
  }
  LPARAM trayEvent(UINT event) const {
    return tray().version() >= NOTIFYICON_VERSION_4 ? MAKELPARAM(event, tray().recordForTesting().uID) : event;
  }

  // The tray icon's menu (a right click on the icon, which from version 3 on
  // the shell follows with WM_CONTEXTMENU; keyboard: an event of the keyboard)
  // or the system menu (Alt+Space) opened: its window; null (and a failure) when none opened.
  HWND openTrayMenu(UINT keyboardEvent = 0) {
    const UINT id = tray().recordForTesting().uID;
    if (keyboardEvent != 0) return openMenu(CAppWindow::TrayCallbackMessage, id, trayEvent(keyboardEvent));
    if (tray().version() < NOTIFYICON_VERSION) return openMenu(CAppWindow::TrayCallbackMessage, id, WM_RBUTTONUP);
    trayMouse(WM_RBUTTONUP);
    return openMenu(CAppWindow::TrayCallbackMessage, id, trayEvent(WM_CONTEXTMENU));
  }
  HWND openSystemMenu() { return openMenu(WM_SYSCOMMAND, SC_KEYMENU, ' '); }
  // Chooses an item of the open menu by its mnemonic, as typing it does, and
  // waits until the dialog has carried the command out.
  void choose(HWND menu, char16_t mnemonic);

  // A message box or file dialog of this process with that title; null (and a failure) when none came.
  HWND waitForWindow(const String& title) const;
  // Presses OK; false (and a failure) when the box stayed.
  bool dismiss(HWND box) const;
  // Waits for the dialog to end by itself.
  bool waitClosed() const;
  // Waits until Start is enabled again: the expiry's sound lets the script go
  // on before the expiry is over.
  bool waitIdle() const;

 private:
  HWND openMenu(UINT message, WPARAM wParam, LPARAM lParam);

  HWND dialog_;
  CAppWindow& app_;
};

// Runs the dialog on the calling thread until it ends.  The script runs on a
// second thread once the dialog is up and what its start-up posted is handled; a dialog still open when the script
// returns is closed (any box or file dialog it left open dismissed first), so
// a failing script ends the test instead of hanging it.
class DialogSession {
 public:
  DialogSession() = default;
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  void run(const std::vector<String>& arguments, const std::function<void(DialogDriver&)>& script);
  void run(const std::function<void(DialogDriver&)>& script) { run({}, script); }

  std::vector<SessionEvent> events() const;
  std::vector<std::string> eventNames() const;
  // What the dialog asked of SetThreadExecutionState, in order.
  std::vector<EXECUTION_STATE> executionStates() const;
  // Sounds play through the system's player, not the recording stand-in (the beep is still recorded).
  void useSystemPlayer() { systemPlayer_ = true; }
  // Sounds play until stopped or endSound(), as a long file does; otherwise they end at once.
  void holdSounds() { soundHeld_ = true; }
  void endSound();
  bool soundPlaying() const { return soundPlaying_; }
  // The session had to close the dialog: it was still open when the script was done.
  bool closedBySession() const { return closedBySession_; }

 private:
  static bool recordBeep();
  static bool recordSound(const String& path);
  // Tells the dialog that the stand-in's sound of that step has played.
  static void postEnd(HWND dialog, RingStep step);
  static void recordStop();
  static EXECUTION_STATE WINAPI recordExecutionState(EXECUTION_STATE state);
  // A failure in a hook ends the test program: it may not unwind through the system.
  static LRESULT CALLBACK spyOnMessages(int code, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK spyOnQueue(int code, WPARAM wParam, LPARAM lParam);
  void note(const std::string& what, const String& detail);
  void drive(const std::function<void(DialogDriver&)>& script);
  void closeLeftovers(HWND dialog);

  static DialogSession* running_;
  CAppWindow* app_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<SessionEvent> events_;
  std::vector<EXECUTION_STATE> executionStates_;
  bool systemPlayer_ = false;
  std::atomic<bool> soundHeld_{false};
  std::atomic<bool> soundPlaying_{false};
  std::atomic<HWND> soundDialog_{nullptr};
  std::atomic<bool> closedBySession_{false};
};

// Every test of the dialog starts as a first start: the program under test is
// this test executable, so its default-settings file (app_tests.cfg) and
// template folder ("template") beside it are removed before and after each test.
class TimerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static std::filesystem::path configFile();
  static std::filesystem::path templateFolder();
};

}  // namespace Ostra::testing
