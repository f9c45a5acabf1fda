#pragma once

#include <windows.h>

// Keeps the computer out of idle sleep while a countdown runs (the display
// may still go dark), and lights the display for the notifications.  The
// state belongs to the calling thread: use it on the dialog's thread only.
class CKeepAwake {
 public:
  using SetState = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);

  // setState: null for the system's SetThreadExecutionState (tests watch the calls).
  explicit CKeepAwake(SetState setState = nullptr);
  CKeepAwake(const CKeepAwake&) = delete;
  CKeepAwake& operator=(const CKeepAwake&) = delete;
  ~CKeepAwake();  // releases

  void hold();
  // Lets the system sleep again; nothing when not held.
  void release();
  // Turns the display on and restarts the idle timers, once: woken by a timer,
  // the system goes back to sleep within minutes unless something asks for it.
  void wakeDisplay();

 private:
  SetState setState_;
  bool held_ = false;
};
