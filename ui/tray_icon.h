#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <memory>

#include "base/string.h"
#include "ui/icon_cache.h"
#include "ui/msg_hooker.h"

namespace Ostra {

// One notification-area icon with a tooltip for one window.  Mouse activity
// on it comes to the owner as callbackMessage, wParam the icon's id.  Puts the
// icon back when the taskbar is rebuilt.  Never throws; the shell's refusals
// show only in the results.
class CTrayIcon {
 public:
  // The id is the lowest the owner has free among the live icon objects: 1 for
  // its first, the same on every run, as Windows keeps the user's "always
  // show" by the program's path and this id.  Lets the shell's messages through
  // to the owner also when this process runs as administrator.
  CTrayIcon(HWND owner, unsigned callbackMessage);
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  // Removes the icon, shown or not.
  ~CTrayIcon();

  // Shows the icon resource of the program (add) or changes it (modify), at the
  // system's small-icon size (of the owner's DPI where LoadIconMetric is
  // missing); the other command when the shell refuses the first, and false,
  // the state kept, when it refuses both.
  bool setIcon(unsigned short iconId);
  // Stores the tooltip, cut on a character boundary to the 63 units of the
  // wide call (63 bytes of the ANSI one), and updates a shown icon (false when
  // the shell refused); a hidden icon gets it with the next setIcon.
  bool setTip(const String& text);
  // A balloon with the information icon from a shown icon, silent (the caller
  // sounds what it wants), and not in the user's quiet time; false when the
  // shell refused or the icon is not shown.
  bool showBalloon(const String& text);
  // Asks the shell to drop the icon also when it counts as hidden (an add it
  // refused may still arrive); a refusal keeps a shown icon shown.
  void remove();
  bool isShown() const { return shown_; }
  // True when m is the shell's "TaskbarCreated"; a shown icon is added again
  // (modified when the shell kept it), and counts as hidden when the shell
  // refuses both.
  bool handleTaskbarCreated(const WindowMessage& m);

  // The event a callback message carries (a mouse message, WM_CONTEXTMENU,
  // NIN_KEYSELECT), in the first layout and in version 4's, which adds the id.
  static UINT callbackEvent(const WindowMessage& m) { return LOWORD(m.lParam); }
  // The shell's version for this icon: 4 (Vista on) or 3 (2000, XP) tell
  // the keyboard's events (WM_CONTEXTMENU, NIN_KEYSELECT) from the mouse's;
  // 0 sends the right button's messages for both.
  unsigned version() const { return version_; }
  // Where the icon is on the screen; false where the shell cannot tell (before Windows 7).
  bool screenRect(RECT& rect) const;
  // Gives the notification area back the keyboard focus, as after a menu the
  // keyboard opened and Esc closed.
  void focusNotificationArea();

  // The record handed to the shell's wide call (first-version layout), which
  // the NT family gets: its tip keeps every character, whatever the code page.
  const NOTIFYICONDATAW& recordForTesting() const { return *record_; }
  // The same for the ANSI call of the other systems, the tip in the code page.
  NOTIFYICONDATAA ansiRecord() const;
  // The registered number of "TaskbarCreated".
  static UINT taskbarCreatedMessage();

 private:
  bool notify(DWORD command);
  bool place(DWORD first);
  void askForVersion();

  CIconCache icons_;  // before the record: the shell may hold its icon until the removal
  std::unique_ptr<NOTIFYICONDATAW> record_;
  String tip_;
  bool shown_ = false;
  unsigned version_ = 0;
};

}  // namespace Ostra
