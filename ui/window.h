#pragma once

#include <windows.h>

#include <exception>
#include <memory>

#include "ui/msg_hooker.h"
#include "ui/wnd.h"

namespace Ostra {

// How a window is made.
class IWindowParameter {
 public:
  IWindowParameter() = default;
  IWindowParameter(const IWindowParameter&) = delete;
  IWindowParameter& operator=(const IWindowParameter&) = delete;
  virtual ~IWindowParameter() = default;
};

// A modal dialog from a template resource of the program, for an owner (null: none).
class CModalDialogParameter : public IWindowParameter {
 public:
  explicit CModalDialogParameter(unsigned templateId, HWND owner = nullptr) : templateId(templateId), owner(owner) {}

  unsigned templateId;  // used as a 16-bit integer resource id
  HWND owner;
};

// A dialog object bound to its window from WM_INITDIALOG to WM_NCDESTROY.
// Every message then goes through chain(), where the window itself is the
// first hooker.  Deleting the object neither ends the dialog nor destroys the
// window; it leaves the chain, and later messages of a window it was still
// bound to reach no hooker.
class CWindow : public IMsgHooker, public CWnd {
 public:
  // Called with an exception that escaped a hooker, and the context given with it.
  using ErrorReporter = void (*)(const std::exception& e, void* context);

  CWindow();
  ~CWindow() override;

  // Where other hookers register; they are called after the window's own hook.
  CMsgHookerChain& chain() { return *chain_; }
  // Runs the dialog until it ends; EndDialog's value (0).  Win32Exception
  // "ダイアログの作成に失敗" when the dialog cannot be made.  A failure that
  // could not be reported in the dialog has ended it and is thrown from here.
  int doModal(const CModalDialogParameter& p);
  // Ends the dialog after the current message and unbinds the handle;
  // EndDialog's result, or 0 with nothing done when no window exists.
  int destroy();
  // The window's own hook: WM_ENDSESSION ends the dialog when the session really
  // ends (wParam TRUE), WM_NCDESTROY unbinds.
  bool onMessage(WindowMessage& m) override;

  // Replaces the default reporter (the "エラー (3)" box, owned by the dialog while it exists).
  void setErrorReporter(ErrorReporter reporter, void* context);
  static void defaultErrorReporter(const std::exception& e, void* window);

  // Handed to the system: binds the CWindow in lParam at WM_INITDIALOG; 0 for every earlier message.
  static INT_PTR CALLBACK initialDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // Installed at binding: the chain's result when a hooker handled the message, else 0.
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  static INT_PTR dispatchReporting(CWindow* window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static bool dispatchThroughWindow(CWindow* window, WindowMessage& m);

  CMsgHookerChain* chain_;
  ErrorReporter errorReporter_;
  void* errorContext_;
  int dialogResult_ = 0;
  // The window whose user data names this object, until WM_NCDESTROY.
  HWND boundWindow_ = nullptr;
  // False once the object is deleted: a hooker may delete it mid-dispatch.
  std::shared_ptr<bool> alive_;
  // What could not be reported in the dialog, for doModal to throw once the
  // system's frames are behind it.
  std::exception_ptr escaped_;
};

}  // namespace Ostra
