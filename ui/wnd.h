#pragma once

#include <windows.h>

#include "base/string.h"

namespace Ostra {

class CWindow;

// A window handle and the small operations the dialog needs on it.  Owns
// nothing: the window lives on after the CWnd goes.  A null handle is passed
// on to the system, whose call then fails without effect.  Texts go through
// the wide calls on the NT family and the ANSI code page otherwise.
class CWnd {
 public:
  explicit CWnd(HWND handle) : handle_(handle) {}
  // The control with that id in the window's dialog; null when it has none.
  CWnd(const CWindow& window, int id);
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND handle() const { return handle_; }

  // MessageBox owned by this window (none when null); the button pressed.
  int messageBox(unsigned style, const String& caption, const String& text) const;

  // The child control with that id; a null handle when there is none.
  CWnd item(int id) const;
  // The window text; empty when the handle is no window.
  String getText() const;
  void setText(const String& text) const;
  // atoi of the text: 12 for " 12abc", 0 when there is no leading number.
  int getInt() const;
  void enable(bool on) const;
  // True only for BST_CHECKED: the indeterminate state counts as unchecked.
  bool isChecked() const;
  void setCheck(bool on) const;
  // Sets the large icon of the window's class to an icon resource of the program.
  void setClassIcon(unsigned short iconId) const;
  // WM_TIMER with wParam = id every period, through the window's messages; the
  // system's timer id, 0 on failure.
  UINT_PTR setTimer(unsigned id, unsigned milliseconds) const;
  // True when the timer was stopped.
  bool killTimer(unsigned id) const;
  // Sends WM_CLOSE and returns once it is handled; nothing when no window exists.
  void close() const;
  // Raises the window above another program's, keeping the system's
  // foreground lock time-out as it was; true when it is the foreground window.
  bool forceForeground() const;
  // Flashes the taskbar button until the user brings the window to the front.
  void flashUntilActive() const;
  void stopFlashing() const;
  // Flashes the taskbar button count times, then leaves it as it was.
  void flashButton(unsigned count) const;
  // Lets message reach the window from processes of lower integrity, as the
  // shell's are when this one runs as administrator; nothing before Windows 7.
  void allowFromLowerIntegrity(UINT message) const;

 protected:
  void setHandle(HWND handle) { handle_ = handle; }

 private:
  HWND handle_;
};

}  // namespace Ostra
