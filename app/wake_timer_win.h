#pragma once

#include <windows.h>

#include <cstdint>

#include "base/unique_handle_win.h"

// A waitable timer that wakes the computer from sleep at a due time and then
// posts one message to a window.  The wait runs on a small thread of its own,
// started at the first arm, which only posts, so the message is handled on the
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

 private:
  static DWORD WINAPI waitForTimer(void* self) noexcept;

  HWND target_;
  UINT message_;
  Ostra::UniqueKernelHandle timer_;
  Ostra::UniqueKernelHandle stop_;    // manual-reset: ends the waiting thread
  Ostra::UniqueKernelHandle thread_;  // declared last: ended before the others close
};
