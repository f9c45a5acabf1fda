#include "app/wake_timer_win.h"

namespace {

constexpr int64_t kUnitsPerMillisecond = 10000;  // FILETIME counts 100 ns
// The waiting thread only waits and posts.
constexpr SIZE_T kStackBytes = 64 * 1024;

}  // namespace

CWakeTimer::CWakeTimer(HWND target, UINT message) : target_(target), message_(message) {
  // Auto-reset: each due time satisfies the thread's wait exactly once.
  timer_.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

CWakeTimer::~CWakeTimer() {
  disarm();
  if (!thread_.valid()) return;
  SetEvent(stop_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool CWakeTimer::arm(int64_t leftMs) {
  if (!timer_.valid()) return false;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64_t nowUnits = static_cast<int64_t>(static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime);
  LARGE_INTEGER due{};
  // Positive: absolute.  A due time already past fires at once.
  due.QuadPart = nowUnits + (leftMs > 0 ? leftMs : 0) * kUnitsPerMillisecond;
  // Only the result counts: where the system cannot wake from sleep the call
  // still succeeds and leaves ERROR_NOT_SUPPORTED (Wine leaves 722) behind.
  if (SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE)) return true;
  return SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE) != FALSE;
}

void CWakeTimer::disarm() {
  if (!timer_.valid()) return;
  CancelWaitableTimer(timer_.get());
  // A due time that passed unwatched leaves the timer signalled, which a later
  // watch would take for a new one: taken here instead.
  WaitForSingleObject(timer_.get(), 0);
}

bool CWakeTimer::watch() {
  if (!timer_.valid() || !stop_.valid()) return false;
  // A thread of its own rather than the system's thread pool, whose wait takes
  // two threads (and 2 MB) under Wine; even one costs about 1 MB there, so
  // none while the computer stays awake.
  if (!thread_.valid()) {
    thread_.reset(CreateThread(nullptr, kStackBytes, waitForTimer, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  }
  return thread_.valid();
}

DWORD WINAPI CWakeTimer::waitForTimer(void* self) noexcept {
  const CWakeTimer* timer = static_cast<const CWakeTimer*>(self);
  // The stop event first: it wins when both are signalled.
  const HANDLE handles[] = {timer->stop_.get(), timer->timer_.get()};
  while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    // Only a post: the window and everything it shows belong to its own thread.
    PostMessageW(timer->target_, timer->message_, 0, 0);
  }
  return 0;
}
