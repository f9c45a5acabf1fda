#include "config/process_exclusion.h"

#include <utility>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/platform_win.h"
#include "base/unique_handle_win.h"

namespace Ostra {

namespace {

// A mutex this thread owns: given up, then closed.
struct OwnedMutexTraits : KernelHandleTraits {
  static void close(Handle mutex) noexcept {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
};

HANDLE createOwnedMutex(const String& name) {
  if (useWideCalls()) return CreateMutexW(nullptr, TRUE, wide(name));
  return CreateMutexA(nullptr, TRUE, defaultEncoding().encode(name).c_str());
}

// Waits for the mutex while the thread's windows keep answering: a dialog
// that waits here still paints, and its timers (a countdown's ticks) still
// run.  Whoever calls this from a window must expect its messages meanwhile.
// A WM_QUIT is put back for the loop that runs the thread and ends the wait.
DWORD waitAnswering(HANDLE mutex, DWORD patienceMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;  // wraps round safely
    const DWORD left = elapsed >= patienceMs ? 0 : patienceMs - elapsed;
    // MWMO_INPUTAVAILABLE: input seen but left in the queue still wakes us.
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &mutex, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1) return woken;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return WAIT_TIMEOUT;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

class CProcessExclusion::Held {
 public:
  explicit Held(UniqueKernelHandle ownedMutex) : mutex_(ownedMutex.release()) {}

 private:
  UniqueHandle<OwnedMutexTraits> mutex_;
};

void CProcessExclusion::HeldDeleter::operator()(Held* held) const { delete held; }

CProcessExclusion::~CProcessExclusion() = default;

bool CProcessExclusion::lock() {
  unlock();
  UniqueKernelHandle mutex(createOwnedMutex(name_));
  if (!mutex) return true;  // no system mutex: go on without exclusion
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // Someone else created it, so the request for initial ownership was not
    // granted.  WAIT_ABANDONED hands over the mutex of a holder that died.
    const DWORD waited = waitAnswering(mutex.get(), static_cast<DWORD>(exclusionPatience().count()));
    if (waited == WAIT_TIMEOUT) return false;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return true;
  }
  held_.reset(new Held(std::move(mutex)));
  return true;
}

void CProcessExclusion::unlock() { held_.reset(); }

}  // namespace Ostra
