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
  CTrayIcon(HWND owner, unsigned callbackMessage);
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  // Removes the icon if it is shown.
  ~CTrayIcon();

  // Shows the icon resource of the program (add) or changes it (modify), at the
  // small-icon size of the owner's DPI; false, and the state kept, when the
  // shell refused.
  bool setIcon(unsigned short iconId);
  // Stores the tooltip, cut to 63 ANSI bytes on a character boundary, and
  // updates a shown icon (false when the shell refused); a hidden icon gets it
  // with the next setIcon.
  bool setTip(const String& text);
  // Takes a shown icon out of the notification area; a refusal keeps it shown.
  void remove();
  bool isShown() const { return shown_; }
  // True when m is the shell's "TaskbarCreated"; a shown icon is added again.
  bool handleTaskbarCreated(const WindowMessage& m);

  // The record handed to the shell (first-version layout).
  const NOTIFYICONDATAA& record() const { return *record_; }
  // The registered number of "TaskbarCreated".
  static UINT taskbarCreatedMessage();

 private:
  CIconCache icons_;  // before the record: the shell may hold its icon until the removal
  std::unique_ptr<NOTIFYICONDATAA> record_;
  bool shown_ = false;
};

}  // namespace Ostra
