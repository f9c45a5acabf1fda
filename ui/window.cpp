#include "ui/window.h"

#include <exception>
#include <utility>

#include "base/call_form.h"
#include "base/exception.h"
#include "base/platform_win.h"
#include "ui/error_box.h"

namespace Ostra {

namespace {

CWindow* boundObject(HWND hwnd) { return reinterpret_cast<CWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER)); }

void bindObject(HWND hwnd, CWindow* window) { SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(window)); }

}  // namespace

CWindow::CWindow()
    : CWnd(nullptr),
      chain_(new CMsgHookerChain),
      errorReporter_(&CWindow::defaultErrorReporter),
      errorContext_(this),
      alive_(std::make_shared<bool>(true)) {
  chain_->add(*this);
}

CWindow::~CWindow() {
  *alive_ = false;
  // A window that outlives its object must not reach it through its user data.
  if (boundWindow_ != nullptr && IsWindow(boundWindow_) && boundObject(boundWindow_) == this)
    bindObject(boundWindow_, nullptr);
}

int CWindow::doModal(const CModalDialogParameter& p) {
  const std::shared_ptr<bool> alive = alive_;
  HINSTANCE module = GetModuleHandleA(nullptr);
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  const WORD id = static_cast<WORD>(p.templateId);
  // The wide call makes a Unicode dialog, whose controls keep every character
  // of their texts; an ANSI dialog's edit controls hold code-page text only.
  const INT_PTR result = useWideCalls()
                             ? DialogBoxParamW(module, MAKEINTRESOURCEW(id), p.owner, &initialDialogProc, self)
                             : DialogBoxParamA(module, MAKEINTRESOURCEA(id), p.owner, &initialDialogProc, self);
  if (*alive && escaped_) std::rethrow_exception(std::exchange(escaped_, nullptr));
  if (result == -1) throw Win32Exception(u"ダイアログの作成に失敗");
  drainQuitMessages();
  return static_cast<int>(result);
}

int CWindow::destroy() {
  if (!IsWindow(handle())) return 0;
  // EndDialog does not wait: the modal loop ends after the current message.
  const BOOL ended = EndDialog(handle(), dialogResult_);
  setHandle(nullptr);
  return ended;
}

bool CWindow::onMessage(WindowMessage& m) {
  switch (m.message) {
    case WM_ENDSESSION:
      // FALSE: the shutdown was cancelled and the session goes on, and so do we.
      if (m.wParam != FALSE) destroy();
      return false;
    case WM_DESTROY:
      return true;
    case WM_NCDESTROY:
      bindObject(m.hwnd, nullptr);
      boundWindow_ = nullptr;
      setHandle(nullptr);
      return true;
    default:
      return false;
  }
}

void CWindow::setErrorReporter(ErrorReporter reporter, void* context) {
  errorReporter_ = reporter;
  errorContext_ = context;
}

void CWindow::defaultErrorReporter(const std::exception& e, void* window) {
  HWND handle = static_cast<CWindow*>(window)->handle();
  showExceptionBox(e, CWnd(IsWindow(handle) ? handle : nullptr), u"エラー (3)");
}

INT_PTR CALLBACK CWindow::initialDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_INITDIALOG) return 0;
  auto* window = reinterpret_cast<CWindow*>(lParam);
  window->setHandle(hwnd);
  window->boundWindow_ = hwnd;
  // Installed with the call that matches the dialog's character set, so the
  // system hands our procedure its messages unconverted.
  const auto proc = reinterpret_cast<LONG_PTR>(&dialogProc);
  if (IsWindowUnicode(hwnd))
    SetWindowLongPtrW(hwnd, DWLP_DLGPROC, proc);
  else
    SetWindowLongPtrA(hwnd, DWLP_DLGPROC, proc);
  bindObject(hwnd, window);
  return dispatchReporting(window, hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK CWindow::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  CWindow* window = boundObject(hwnd);
  if (window == nullptr) return 0;
  return dispatchReporting(window, hwnd, message, wParam, lParam);
}

INT_PTR CWindow::dispatchReporting(CWindow* window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const std::shared_ptr<bool> alive = window->alive_;
  WindowMessage m{hwnd, message, wParam, lParam, 1};
  try {
    try {
      return dispatchThroughWindow(window, m) ? m.result : 0;
    } catch (const std::exception& e) {
      // Only a failing error reporter gets here.
      drainQuitMessages();
      showExceptionBox(e, CWnd(nullptr), u"エラー (2)");
      return 0;
    }
  } catch (...) {
    // No exception may unwind through the system's frames above us (the
    // 32-bit build's unwinder cannot): what is left ends the dialog and
    // leaves doModal.  With the object gone, nothing is left to carry it.
    if (!*alive) std::terminate();
    if (!window->escaped_) window->escaped_ = std::current_exception();
    window->destroy();
    return 0;
  }
}

bool CWindow::dispatchThroughWindow(CWindow* window, WindowMessage& m) {
  const std::shared_ptr<bool> alive = window->alive_;
  try {
    return window->chain_->dispatch(m);
  } catch (const std::exception& e) {
    // A quit request left in the queue would close the box at once.
    drainQuitMessages();
    if (*alive)
      window->errorReporter_(e, window->errorContext_);
    else
      showExceptionBox(e, CWnd(nullptr), u"エラー (3)");
    return false;
  }
}

}  // namespace Ostra
