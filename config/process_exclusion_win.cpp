#include "config/process_exclusion.h"

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/platform_win.h"

namespace Ostra {

class CProcessExclusion::Held {
 public:
  explicit Held(HANDLE mutex) : mutex_(mutex) {}
  ~Held() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  HANDLE mutex_;
};

namespace {

HANDLE createOwnedMutex(const String& name) {
  if (useWideCalls()) return CreateMutexW(nullptr, TRUE, wide(name));
  return CreateMutexA(nullptr, TRUE, defaultEncoding().encode(name).c_str());
}

}  // namespace

void CProcessExclusion::HeldDeleter::operator()(Held* held) const { delete held; }

CProcessExclusion::~CProcessExclusion() = default;

void CProcessExclusion::lock() {
  unlock();
  const HANDLE mutex = createOwnedMutex(name_);
  if (!mutex) return;  // no system mutex: go on without exclusion
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // Someone else created it, so the request for initial ownership was not
    // granted.  WAIT_ABANDONED hands over the mutex of a holder that died.
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      CloseHandle(mutex);
      return;
    }
  }
  held_.reset(new Held(mutex));
}

void CProcessExclusion::unlock() { held_.reset(); }

}  // namespace Ostra
