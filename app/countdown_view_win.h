#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/dialog_state.h"
#include "app/taskbar_progress_win.h"
#include "app/timer_engine.h"
#include "resources/resource.h"
#include "ui/icon_cache.h"
#include "ui/msg_hooker.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

// What the person sees of a countdown outside the dialog's controls: the
// title, the stage icon of the window and the tray, the tray's tooltip, the
// taskbar's progress, and where the dialog is.  Only shows what it is told;
// the countdown itself lives elsewhere.  Use on the dialog's thread only.
class CCountdownView {
 public:
  // now: the monotonic clock, for the tray's retry.
  CCountdownView(Ostra::CWindow& window, int64_t (*now)()) : window_(window), now_(now) {}
  CCountdownView(const CCountdownView&) = delete;
  CCountdownView& operator=(const CCountdownView&) = delete;

  // At WM_INITDIALOG: the tray icon (not yet added) and the taskbar button.
  void create(HWND dialog, UINT trayMessage);
  // At WM_DESTROY: the tray icon and the progress go.
  void destroy();
  // The shell's and the system's messages about them; true when handled.
  bool onMessage(Ostra::WindowMessage& m);
  // Each tick: a refused tray icon is tried again now and then.
  void retryTray();

  // remainSeconds -1 when idle; progressPermille -1 for no progress.  tick:
  // only the count has moved, which a screen reader hears less often.
  void showTime(int remainSeconds, bool paused, int progressPermille, bool tick, bool snoozed = false,
                RunNumber run = {});
  void showStageIcon(int iconId);
  // Idle after a ringing: the time since its end in the title and tooltip.
  void showElapsed(int seconds, bool tick);
  // The time left has fallen to the warning's mark: the system's information
  // sound, and a balloon from the tray, or the taskbar button flashing.
  void warnBefore(int minutes);

  Placement placement() const { return placement_; }
  // activate false: shown without taking the keyboard from the program in use.
  void place(Placement next, bool activate = true);
  void minimizeToTray();
  void restoreFromTray();

  Ostra::CTrayIcon* tray() const { return tray_.get(); }

 private:
  void showProgress();
  // A screen reader runs and reads this dialog, the foreground window.
  bool screenReaderFollows() const;
  // The caption into the title and the tooltip; on a tick, into the title only
  // when announce or no screen reader reads it.  True when the title took it.
  bool showCaption(const Ostra::String& caption, bool tick, bool announce);

  Ostra::CWindow& window_;
  int64_t (*now_)();
  std::unique_ptr<Ostra::CTrayIcon> tray_;
  std::unique_ptr<CTaskbarProgress> progress_;
  Ostra::CIconCache windowIcons_;  // the dialog's own; it has ended before these go
  Placement placement_ = Placement::Shown;
  int64_t trayAddTriedMs_ = 0;  // when the last add was tried
  int stageIcon_ = IDI_IDLE;
  int captionSeconds_ = -1;  // the count the title shows
  int permille_ = -1;
  bool paused_ = false;
};
