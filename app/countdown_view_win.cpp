#include "app/countdown_view_win.h"

#include "app/presence_rules.h"
#include "app/timer_engine.h"

using Ostra::String;

namespace {

// The soonest a refused tray icon is tried again: the shell may take 4 s to
// refuse an add, and may take it late all the same.
constexpr int64_t kTrayRetryMilliseconds = 5000;

}  // namespace

void CCountdownView::create(HWND dialog, UINT trayMessage) {
  tray_ = std::make_unique<Ostra::CTrayIcon>(dialog, trayMessage);
  progress_ = std::make_unique<CTaskbarProgress>(dialog);
  showStageIcon(IDI_IDLE);
}

void CCountdownView::destroy() {
  if (progress_) progress_->clear();
  progress_.reset();
  if (tray_) tray_->remove();
}

bool CCountdownView::onMessage(Ostra::WindowMessage& m) {
  if (m.message == WM_DPICHANGED) {  // Windows 8.1 and later: the sizes of the icons changed
    showStageIcon(stageIcon_);
    return false;
  }
  if (m.message == WM_WINDOWPOSCHANGING) {
    // The modal loop shows the dialog once its queue first runs empty, which is
    // after a Start posted at initialisation has already put it in the tray.
    if (placement_ == Placement::InTray) reinterpret_cast<WINDOWPOS*>(m.lParam)->flags &= ~SWP_SHOWWINDOW;
    return false;
  }
  if (progress_ && progress_->handleButtonCreated(m)) {
    showProgress();
    return true;
  }
  if (!tray_ || !tray_->handleTaskbarCreated(m)) return false;
  if (placement_ == Placement::InTray && !tray_->isShown()) {
    place(Placement::WaitingForTray);
  } else if (placement_ == Placement::WaitingForTray) {
    minimizeToTray();
  }
  return true;
}

void CCountdownView::retryTray() {
  if (placement_ == Placement::WaitingForTray && now_() - trayAddTriedMs_ >= kTrayRetryMilliseconds) minimizeToTray();
}

void CCountdownView::showTime(int remainSeconds, bool paused, int progressPermille, bool tick, bool snoozed,
                              RunNumber run) {
  paused_ = paused;
  permille_ = progressPermille;
  showProgress();
  const String caption = captionText(remainSeconds, paused, snoozed, run);
  if (showCaption(caption, tick, announceCountdown(captionSeconds_, remainSeconds))) captionSeconds_ = remainSeconds;
}

void CCountdownView::showElapsed(int seconds, bool tick) {
  permille_ = -1;
  showProgress();
  // A screen reader hears it once a minute, not every second.
  showCaption(elapsedCaptionText(seconds), tick, seconds % 60 == 0);
}

bool CCountdownView::showCaption(const String& caption, bool tick, bool announce) {
  // A screen reader announces every change of the foreground window's title:
  // one a second would leave it no time for anything else.
  const bool shown = !tick || announce || !screenReaderFollows();
  if (shown) window_.setText(caption);
  if (tray_) tray_->setTip(caption);
  return shown;
}

void CCountdownView::warnBefore(int minutes) {
  MessageBeep(MB_ICONINFORMATION);
  const String text = u"あと" + Ostra::String::fromInt(minutes) + u"分です";
  if (placement_ != Placement::Shown && tray_ && tray_->showBalloon(text)) return;
  window_.flashButton(3);
}

void CCountdownView::showProgress() {
  if (!progress_) return;
  if (permille_ < 0) {
    progress_->clear();
  } else {
    progress_->show(permille_, paused_);
  }
}

bool CCountdownView::screenReaderFollows() const {
  BOOL running = FALSE;
  if (!SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) || !running) return false;
  return GetForegroundWindow() == window_.handle();
}

void CCountdownView::showStageIcon(int iconId) {
  stageIcon_ = iconId;
  const auto id = static_cast<unsigned short>(iconId);
  window_.setClassIcon(id);
  if (tray_ && tray_->isShown()) tray_->setIcon(id);
  // The window's own icons, drawn for the sizes it shows them at, go before the
  // class icon, which the system would stretch.
  const HWND dialog = window_.handle();
  SendMessageW(dialog, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(windowIcons_.get(id, Ostra::smallIconPixels(dialog))));
  SendMessageW(dialog, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(windowIcons_.get(id, Ostra::largeIconPixels(dialog))));
}

void CCountdownView::place(Placement next, bool activate) {
  const Placement was = placement_;
  // Set first: showing the window asks WM_WINDOWPOSCHANGING.
  placement_ = next;
  switch (next) {
    case Placement::Shown:
      ShowWindow(window_.handle(), activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
      tray_->remove();
      break;
    case Placement::InTray:
      ShowWindow(window_.handle(), SW_HIDE);
      break;
    case Placement::WaitingForTray:
      // The restarted shell would not take the icon back: never stay hidden
      // without it.  Back on the taskbar until a later add is taken.
      if (was != Placement::InTray) break;
      trayAddTriedMs_ = now_();
      ShowWindow(window_.handle(), SW_SHOWMINNOACTIVE);
      break;
  }
}

void CCountdownView::minimizeToTray() {
  // Hidden only with an icon to come back by.  A shell that is restarting or
  // not up yet refuses the add: the dialog then stays on the taskbar (the modal
  // loop's first show may even restore it) until a later add is taken.
  const bool added = tray_->setIcon(static_cast<unsigned short>(stageIcon_));
  trayAddTriedMs_ = now_();
  place(added ? Placement::InTray : Placement::WaitingForTray);
}

void CCountdownView::restoreFromTray() {
  place(Placement::Shown);
  window_.forceForeground();
}
