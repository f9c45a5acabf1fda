#pragma once

#include <windows.h>

#include "app/hotkey.h"

// The program's one global hotkey, registered for the dialog: it posts
// WM_HOTKEY with Id there from wherever it is pressed.  Unregistered before it
// changes and in the destructor.  Use on the dialog's thread only.
class CGlobalHotkey {
 public:
  static constexpr int Id = 1;

  explicit CGlobalHotkey(HWND window) : window_(window) {}
  ~CGlobalHotkey();
  CGlobalHotkey(const CGlobalHotkey&) = delete;
  CGlobalHotkey& operator=(const CGlobalHotkey&) = delete;

  // hotkey in place of the one registered (none: nothing registered).  False
  // when the system refuses it, above all because another program, or another
  // copy of this one, holds the combination: the one before stays registered.
  bool change(const Hotkey& hotkey);
  // What is registered now: none when nothing is.
  const Hotkey& registered() const { return registered_; }

 private:
  bool tryRegister(const Hotkey& hotkey);
  void unregister();

  const HWND window_;
  Hotkey registered_;
};
