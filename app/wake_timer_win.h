#pragma once

#include <windows.h>

#include <cstdint>

#include "base/unique_handle_win.h"

// A waitable timer that wakes the computer from sleep at a due time and, once
// watched, posts one message to a window then.  The timer wakes the computer
// whoever waits on it; the wait for the message runs on a small thread of its
// own, started only when the computer is about to sleep (awake, the window's
// own timer is on time), which only posts, so the message is handled on the
// window's thread, in whatever message loop runs there.
class CWakeTimer {
 public:
  CWakeTimer(HWND target, UINT message);
  CWakeTimer(const CWakeTimer&) = delete;
  CWakeTimer& operator=(const CWakeTimer&) = delete;
  // Cancels, and waits for the waiting thread to end.
  ~CWakeTimer();

  // Due leftMs from now, set as a time of the UTC clock: a relative due time
  // would not count the sleep on Windows 8 and later.  Replaces an earlier due
  // time.  False when the system refused the timer.
  bool arm(int64_t leftMs);
  // No message from an earlier arm, unless it is already posted.
  void disarm();
  // From now on the message is posted at the due time, also at once for one
  // that passed unwatched.  False when no thread could be started.
  bool watch();
  bool watching() const { return thread_.valid(); }

 private:
  static DWORD WINAPI waitForTimer(void* self) noexcept;

  HWND target_;
  UINT message_;
  Ostra::UniqueKernelHandle timer_;
  Ostra::UniqueKernelHandle stop_;    // manual-reset: ends the waiting thread
  Ostra::UniqueKernelHandle thread_;  // declared last: ended before the others close
};
