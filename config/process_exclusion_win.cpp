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
    const DWORD waited = WaitForSingleObject(mutex.get(), static_cast<DWORD>(exclusionPatience().count()));
    if (waited == WAIT_TIMEOUT) return false;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return true;
  }
  held_.reset(new Held(std::move(mutex)));
  return true;
}

void CProcessExclusion::unlock() { held_.reset(); }

}  // namespace Ostra
