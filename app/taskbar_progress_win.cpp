#include "app/taskbar_progress_win.h"

// After windows.h, which they need.
#include <objbase.h>
#include <shobjidl.h>

#include "base/system_library_win.h"
#include "ui/wnd.h"

namespace {

constexpr ULONGLONG kBarSteps = 1000;

const Ostra::SystemFunction<decltype(CoCreateInstance)> coCreateInstance{Ostra::ole32Library, "CoCreateInstance",
                                                                         E_FAIL};

UINT buttonCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

}  // namespace

CTaskbarProgress::CTaskbarProgress(HWND window) : window_(window) {
  // Registered before the shell sends it, and let through from the shell also
  // when this process runs as administrator.
  Ostra::CWnd(window).allowFromLowerIntegrity(buttonCreatedMessage());
}

CTaskbarProgress::~CTaskbarProgress() { releaseList(); }

bool CTaskbarProgress::handleButtonCreated(const Ostra::WindowMessage& m) {
  if (m.message != buttonCreatedMessage() || buttonCreatedMessage() == 0) return false;
  releaseList();  // a restarted taskbar has a new button
  pausedShown_ = false;
  if (!com_ || !com_->initialized()) com_.emplace();
  if (!com_->initialized()) return true;
  void* list = nullptr;
  if (FAILED(coCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &list))) return true;
  list_ = static_cast<ITaskbarList3*>(list);
  // No other method may be called on a list that did not initialise.
  if (FAILED(list_->HrInit())) releaseList();
  return true;
}

void CTaskbarProgress::show(int permille, bool paused) {
  if (list_ == nullptr) return;
  // Setting a value leaves only the no-progress state by itself, not the paused one.
  if (paused != pausedShown_ && SUCCEEDED(list_->SetProgressState(window_, paused ? TBPF_PAUSED : TBPF_NORMAL))) {
    pausedShown_ = paused;
  }
  list_->SetProgressValue(window_, static_cast<ULONGLONG>(permille < 0 ? 0 : permille), kBarSteps);
}

void CTaskbarProgress::clear() {
  if (list_ != nullptr && SUCCEEDED(list_->SetProgressState(window_, TBPF_NOPROGRESS))) pausedShown_ = false;
}

void CTaskbarProgress::releaseList() {
  if (list_ == nullptr) return;
  list_->Release();
  list_ = nullptr;
}
