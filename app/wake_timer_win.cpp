#include "app/wake_timer_win.h"

namespace {

constexpr int64_t kUnitsPerMillisecond = 10000;  // FILETIME counts 100 ns

}  // namespace

CWakeTimer::CWakeTimer(HWND target, UINT message) : target_(target), message_(message) {
  // Auto-reset: each due time satisfies the pool's wait exactly once.
  timer_.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
  if (!timer_.valid()) return;
  if (!RegisterWaitForSingleObject(&wait_, timer_.get(), fired, this, INFINITE, WT_EXECUTEINWAITTHREAD))
    wait_ = nullptr;
}

CWakeTimer::~CWakeTimer() {
  disarm();
  // INVALID_HANDLE_VALUE: returns only when no callback runs any more.
  if (wait_ != nullptr) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

bool CWakeTimer::arm(int64_t leftMs) {
  if (!timer_.valid() || wait_ == nullptr) return false;
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
  if (timer_.valid()) CancelWaitableTimer(timer_.get());
}

void CALLBACK CWakeTimer::fired(void* self, BOOLEAN timedOut) {
  if (timedOut) return;
  const CWakeTimer* timer = static_cast<const CWakeTimer*>(self);
  // Only a post: the window and everything it shows belong to its own thread.
  PostMessageW(timer->target_, timer->message_, 0, 0);
}
