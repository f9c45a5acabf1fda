#pragma once

#include <windows.h>

// Keeps the computer out of idle sleep while a countdown runs (the display
// may still go dark), and keeps the display lit while the notifications run.
// The state belongs to the calling thread: use it on the dialog's thread only.
class CKeepAwake {
 public:
  using SetState = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);

  // setState: null for the system's SetThreadExecutionState (tests watch the calls).
  explicit CKeepAwake(SetState setState = nullptr);
  CKeepAwake(const CKeepAwake&) = delete;
  CKeepAwake& operator=(const CKeepAwake&) = delete;
  ~CKeepAwake();  // releases

  void hold();
  // Turns the display on and keeps it and the system on until release(), in
  // place of hold(): woken by a timer, the system goes back to sleep within
  // minutes unless something asks for it, with the alarm still on its screen.
  void holdDisplay();
  // Lets the system sleep again; nothing when not held.
  void release();

 private:
  SetState setState_;
  bool held_ = false;
};
